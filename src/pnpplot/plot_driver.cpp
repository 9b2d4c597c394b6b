#include "pnpplot/plot_driver.h"

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/trace_analysis.h"
#include "chart/chart_layout.h"
#include "chart/svg_chart.h"
#include "figures/limit_mask.h"
#include "files/input_bytes.h"
#include "pnpplot/plot_help.h"
#include "pnpplot/plot_options.h"
#include "report/html_report.h"
#include "report/summary_json.h"
#include "report/summary_text.h"
#include "traces/trace_reader.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

void tell(std::ostream& err, const Problem& problem) { err << "pnpplot: " << describe(problem) << "\n"; }
void tell(std::ostream& err, const Warning& warning) { err << "pnpplot: " << describe(warning) << "\n"; }

struct LoadedInputs {
    std::vector<Trace> traces;
    bool allRead = true;
};

// Reads each input in turn; a problem is told on err and the other inputs still count.
LoadedInputs loadInputs(const std::vector<std::string>& paths, const Host& host, std::ostream& err) {
    LoadedInputs loaded;
    for (const std::string& path : paths) {
        Result<std::string> bytes = readInputBytes(path, host);
        Result<std::vector<Trace>> read = bytes ? readTraces(std::move(*bytes.value), path) : *bytes.problem;
        for (const Warning& warning : read.warnings) tell(err, warning);
        if (!read) {
            tell(err, *read.problem);
            loaded.allRead = false;
            continue;
        }
        for (Trace& trace : *read.value) loaded.traces.push_back(std::move(trace));
    }
    return loaded;
}

Result<LimitMask> loadMask(const std::string& path, const Host& host) {
    Result<std::string> bytes = readInputBytes(path, host);
    if (!bytes) return *bytes.problem;
    return readLimitMask(*bytes.value, path);
}

// The measurements' names; when they would not fit the title, the first two and how many more.
std::string defaultTitle(const std::vector<TraceAnalysis>& analyses) {
    std::vector<std::string> measurements;
    std::string title;
    for (const TraceAnalysis& analysis : analyses) {
        const std::string& measurement = analysis.trace->measurement;
        if (std::find(measurements.begin(), measurements.end(), measurement) != measurements.end()) continue;
        title += (measurements.empty() ? "" : ", ") + measurement;
        measurements.push_back(measurement);
    }
    if (title.size() > longestTitle && measurements.size() > 2) {
        title = measurements[0] + ", " + measurements[1] + " and " + std::to_string(measurements.size() - 2) + " more";
    }
    return title;
}

// Under a legend entry's caption: the carrier; a phase-noise trace's headline figures over
// the band, as the summary has them; whether its levels are smoothed.
std::vector<std::string> legendNotes(const TraceAnalysis& analysis) {
    const CarrierChoice& carrier = analysis.carrier;
    std::string note = "carrier " + withPrefix(carrier.hertz, "Hz");
    if (carrier.assumed()) note += " (assumed)";
    std::vector<std::string> notes{note};
    if (carrier.normalisedFrom) notes.push_back("normalised from " + withPrefix(*carrier.normalisedFrom, "Hz"));
    if (!analysis.trace->floor && analysis.integration) {
        const NoiseFigures& figures = analysis.integration->figures;
        notes.push_back(phaseNoiseText(figures.integratedPhaseNoise) + ", jitter " + jitterText(figures.rmsJitter));
    }
    if (analysis.smoothed) notes.push_back("smoothed over " + plainNumber(analysis.smoothed->decades) + " decades");
    return notes;
}

ChartInput chartInputOf(const std::vector<TraceAnalysis>& analyses, const PlotOptions& options, const LimitMask* mask) {
    ChartInput input;
    for (const TraceAnalysis& analysis : analyses) {
        ChartLine line{analysis.trace->caption,
                       analysis.trace->group,
                       analysis.trace->floor,
                       &drawnPoints(analysis),
                       legendNotes(analysis),
                       {},
                       {},
                       {}};
        if (analysis.floorMargin) {
            for (const MarginRange& range : analysis.floorMargin->below)
                line.marginRanges.push_back({range.from, range.to});
        }
        for (const SpurFigures& spur : analysis.spurs) line.spurPeaks.push_back({spur.spur.offset, spur.spur.level});
        if (analysis.mask) line.failingPoints = analysis.mask->verdict.failing;
        input.lines.push_back(std::move(line));
    }
    input.title = options.title.value_or(defaultTitle(analyses));
    input.band = options.analysis.band;
    if (mask) input.mask = mask->points;
    input.dark = options.dark;
    input.marginThreshold = options.analysis.marginThreshold;
    return input;
}

bool anyMaskFails(const std::vector<TraceAnalysis>& analyses) {
    return std::any_of(analyses.begin(), analyses.end(), [](const TraceAnalysis& analysis) {
        return analysis.mask && analysis.mask->verdict.judged > 0 && !analysis.mask->verdict.passes();
    });
}

// The chart, the report and the JSON summary where the options send them, then the text
// summary unless standard output took the chart or the JSON. False when a file could not be
// written, which has been told on err.
bool writeOutputs(const PlotOptions& options, const ChartLayout& layout, const std::vector<TraceAnalysis>& analyses,
                  const Host& host, std::ostream& out, std::ostream& err) {
    auto written = [&](const std::string& path, const std::string& bytes) {
        std::optional<Problem> problem = writeWholeFile(host, path, bytes);
        if (problem) tell(err, *problem);
        return !problem;
    };
    std::string svg = svgChart(layout);
    bool chartToStandardOutput = options.output == "-";
    if (chartToStandardOutput) out << svg;
    if (!chartToStandardOutput && !options.output.empty() && !written(options.output, svg)) return false;
    if (options.html &&
        !written(*options.html, htmlReport(layout, svg, analyses, options.analysis.band, PNPPLOT_VERSION))) {
        return false;
    }
    if (options.json) {
        std::optional<std::string> chart, report;
        if (!chartToStandardOutput && !options.output.empty()) chart = options.output;
        if (options.html) report = *options.html;
        std::string json = summaryJson(analyses, chart, report, PNPPLOT_VERSION);
        if (*options.json == "-") {
            out << json;
        } else if (!written(*options.json, json)) {
            return false;
        }
    }
    if (chartToStandardOutput || options.json == "-") return true;
    if (!options.output.empty()) out << "Chart written to " << options.output << "\n";
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
    const PlotOptions& options = *parsed.value;
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
        // A script reading the JSON summary still gets a document, with no trace in it.
        if (options.json == "-") *out << summaryJson({}, std::nullopt, std::nullopt, PNPPLOT_VERSION) << std::flush;
        return statusNotAllRead;
    }
    int status = loaded.allRead && !analyses.emptied ? 0 : statusNotAllRead;
    ChartLayout layout = layoutChart(chartInputOf(analyses.traces, options, mask ? &*mask : nullptr));

    if (!writeOutputs(options, layout, analyses.traces, host, *out, *err)) return statusNotAllRead;
    out->flush();
    if (!*out) {
        *err << "pnpplot: standard output: could not be written\n";
        return statusNotAllRead;
    }
    if (status == 0 && anyMaskFails(analyses.traces)) status = statusMaskFailed;
    return status;
}

}  // namespace csv2pnp
