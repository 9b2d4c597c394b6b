#include "pnpplot/plot_driver.h"

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/trace_analysis.h"
#include "chart/chart_layout.h"
#include "chart/stability_svg.h"
#include "chart/svg_chart.h"
#include "figures/limit_mask.h"
#include "files/base_name.h"
#include "files/input_bytes.h"
#include "pnpplot/chart_input.h"
#include "pnpplot/plot_help.h"
#include "pnpplot/plot_options.h"
#include "report/html_report.h"
#include "report/summary_json.h"
#include "report/summary_text.h"
#include "traces/trace_names.h"
#include "traces/trace_reader.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

void tell(std::ostream& err, const Problem& problem) { err << "pnpplot: " << describe(problem) << "\n"; }
void tell(std::ostream& err, const Warning& warning) { err << "pnpplot: " << describe(warning) << "\n"; }

struct LoadedInputs {
    std::vector<Trace> traces;
    std::vector<InputOutcome> outcomes;  // one an input, in order
    bool allRead = true;
};

// Reads each input in turn; a problem is told on err and the other inputs still count.
// Reads each input in its layout, with the carrier and the label the command line gave it.
LoadedInputs loadInputs(const std::vector<InputSpec>& inputs, const Host& host, std::ostream& err) {
    LoadedInputs loaded;
    for (std::size_t index = 0; index < inputs.size(); ++index) {
        const InputSpec& input = inputs[index];
        Result<std::string> bytes = readInputBytes(input.path, host);
        Result<std::vector<Trace>> read =
            bytes ? readTraces(std::move(*bytes.value), input.path, input.read) : *bytes.problem;
        for (const Warning& warning : read.warnings) tell(err, warning);
        loaded.outcomes.push_back({input.path, read.problem});
        if (!read) {
            tell(err, *read.problem);
            loaded.allRead = false;
            continue;
        }
        if (input.label) labelTraces(*read.value, *input.label);
        for (Trace& trace : *read.value) {
            trace.carrierGiven = input.carrier;
            trace.input = index;
            loaded.traces.push_back(std::move(trace));
        }
    }
    distinguishSources(loaded.traces);
    return loaded;
}

Result<LimitMask> loadMask(const std::string& path, const Host& host) {
    Result<std::string> bytes = readInputBytes(path, host);
    if (!bytes) return *bytes.problem;
    return readLimitMask(*bytes.value, path);
}

// No verdict is not a pass: a trace the mask judged no point of counts as one that fails.
bool anyMaskFails(const std::vector<TraceAnalysis>& analyses) {
    return std::any_of(analyses.begin(), analyses.end(),
                       [](const TraceAnalysis& analysis) { return analysis.mask && !analysis.mask->verdict.passes(); });
}

// The chart, the report and the JSON summary where the options send them, then the text
// summary unless standard output took the chart or the JSON. False when a file could not be
// written, which has been told on err.
bool writeOutputs(const PlotOptions& options, const ChartLayout& layout, const std::vector<TraceAnalysis>& analyses,
                  const std::vector<InputOutcome>& inputs, const Host& host, std::ostream& out, std::ostream& err) {
    auto written = [&](const std::string& path, const std::string& bytes) {
        std::optional<Problem> problem = writeWholeFile(host, path, bytes);
        if (problem) tell(err, *problem);
        return !problem;
    };
    std::string svg = svgChart(layout);
    bool chartToStandardOutput = options.output == "-";
    if (chartToStandardOutput) out << svg;
    if (!chartToStandardOutput && !options.output.empty() && !written(options.output, svg)) return false;
    std::string stability;
    if (std::optional<StabilityInput> input = stabilityInputOf(analyses, options))
        stability = stabilitySvg(layoutStability(*input));
    if (options.stabilityChart && !written(*options.stabilityChart, stability)) return false;
    if (options.html &&
        !written(*options.html, htmlReport(layout, svg, stability, analyses, options.analysis.band, PNPPLOT_VERSION))) {
        return false;
    }
    if (options.json) {
        std::optional<std::string> chart, report;
        if (!chartToStandardOutput && !options.output.empty()) chart = options.output;
        if (options.html) report = *options.html;
        std::string json = summaryJson(analyses, inputs, chart, report, PNPPLOT_VERSION);
        if (*options.json == "-") {
            out << json;
        } else if (!written(*options.json, json)) {
            return false;
        }
    }
    if (chartToStandardOutput || options.json == "-") return true;
    if (!options.output.empty()) out << "Chart written to " << options.output << "\n";
    if (options.stabilityChart) out << "Stability chart written to " << *options.stabilityChart << "\n";
    if (options.html) out << "Report written to " << *options.html << "\n";
    if (options.json) out << "Summary written to " << *options.json << "\n";
    for (const TraceAnalysis& analysis : analyses) {
        out << "\n";
        writeSummaryText(out, analysis);
    }
    return true;
}

}  // namespace

int PlotDriver::run(int argc, const char* const argv[]) const {
    Result<PlotOptions> parsed = parsePlotOptions(argc, argv, host);
    if (!parsed) {
        *err << "pnpplot: " << describe(*parsed.problem) << "\nTry 'pnpplot --help'.\n";
        return statusUsage;
    }
    PlotOptions& options = *parsed.value;
    if (options.help) {
        *out << plotHelpText;
        return 0;
    }
    if (options.version) {
        *out << "pnpplot " << PNPPLOT_VERSION << "\n";
        return 0;
    }
    std::optional<LimitMask> mask;
    if (options.mask) {
        Result<LimitMask> read = loadMask(*options.mask, host);
        if (!read) {
            tell(*err, *read.problem);
            return statusUsage;
        }
        mask = std::move(read.value);
    }

    LoadedInputs loaded = loadInputs(options.inputs, host, *err);
    Analyses analyses = analyseTraces(loaded.traces, options.analysis, mask ? &*mask : nullptr);
    for (const Warning& warning : analyses.warnings) tell(*err, warning);
    if (analyses.traces.empty()) {
        *err << "pnpplot: nothing to draw\n";
        // A script reading the JSON summary still gets a document: no trace, and why.
        if (options.json) {
            std::string json = summaryJson({}, loaded.outcomes, std::nullopt, std::nullopt, PNPPLOT_VERSION);
            if (*options.json == "-") {
                *out << json << std::flush;
            } else if (std::optional<Problem> problem = writeWholeFile(host, *options.json, json)) {
                tell(*err, *problem);
            }
        }
        return statusNotAllRead;
    }
    // The chart is named after the first input that could be read, in the current directory.
    if (options.chartAfterFirstInput) {
        auto read = std::find_if(loaded.outcomes.begin(), loaded.outcomes.end(),
                                 [](const InputOutcome& input) { return !input.problem; });
        options.output = baseNameOf(read->path) + ".svg";
    }
    int status = loaded.allRead ? 0 : statusNotAllRead;
    ChartLayout layout = layoutChart(chartInputOf(analyses.traces, options, mask ? &*mask : nullptr));

    if (!writeOutputs(options, layout, analyses.traces, loaded.outcomes, host, *out, *err)) return statusNotAllRead;
    out->flush();
    if (!*out) {
        *err << "pnpplot: standard output: could not be written\n";
        return statusNotAllRead;
    }
    if (status == 0 && anyMaskFails(analyses.traces)) status = statusMaskFailed;
    return status;
}

}  // namespace csv2pnp
