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
#include "report/summary_table.h"
#include "report/summary_text.h"
#include "text/utf8_text.h"
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
    bool warned = false;  // a warning was told
};

// How far the reading has come, on one line of standard error that each step rewrites: only
// when standard error is a terminal and the reading has taken more than a second, at most ten
// times a second; cleared before any other message and at the end.
struct Progress {
    const Host* host;
    std::ostream* err;
    std::size_t total;
    bool shown;
    double start;
    double last = -1;
    std::string line;  // as it stands on the terminal
};

Progress startProgress(const Host& host, std::ostream& err, std::size_t total) {
    const bool shown = total > 1 && host.errorIsTerminal && host.errorIsTerminal(host.context);
    return Progress{&host, &err, total, shown, shown ? host.elapsed(host.context) : 0, -1, {}};
}

void showProgress(Progress& progress, std::size_t count) {
    if (!progress.shown) return;
    const double now = progress.host->elapsed(progress.host->context) - progress.start;
    if (now < 1 || (now - progress.last < 0.1 && count < progress.total)) return;
    progress.last = now;
    progress.line = "pnpplot: read " + std::to_string(count) + " of " + std::to_string(progress.total) + " inputs";
    *progress.err << "\r" << progress.line << std::flush;
}

void clearProgress(Progress& progress) {
    if (progress.line.empty()) return;
    *progress.err << "\r" << std::string(progress.line.size(), ' ') << "\r" << std::flush;
    progress.line.clear();
}

// Reads each input in turn; a problem is told on err and the other inputs still count.
// Reads each input in its layout, with the carrier and the label the command line gave it.
LoadedInputs loadInputs(const std::vector<InputSpec>& inputs, const Host& host, std::ostream& err) {
    LoadedInputs loaded;
    Progress progress = startProgress(host, err, inputs.size());
    for (std::size_t index = 0; index < inputs.size(); ++index) {
        showProgress(progress, index);
        const InputSpec& input = inputs[index];
        Result<std::string> bytes = readInputBytes(input.path, host);
        Result<std::vector<Trace>> read =
            bytes ? readTraces(std::move(*bytes.value), input.path, input.read) : *bytes.problem;
        if (!read.warnings.empty() || !read) clearProgress(progress);
        for (const Warning& warning : read.warnings) tell(err, warning);
        loaded.warned = loaded.warned || !read.warnings.empty();
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
    showProgress(progress, inputs.size());
    clearProgress(progress);
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

// Writes a file; false when it could not be, which has been told on err.
struct Writer {
    const Host& host;
    std::ostream& err;
    bool operator()(const std::string& path, const std::string& bytes) const {
        std::optional<Problem> problem = writeWholeFile(host, path, bytes);
        if (problem) tell(err, *problem);
        return !problem;
    }
};

// With --each: the folder, the input's file name and the extension; a name this run has
// already written (alike but for case, as Windows sees it) takes "-2", "-3", ... before the
// extension, so that no input's chart overwrites another's.
std::string eachName(const std::string& folder, const std::string& input, const std::string& extension,
                     std::vector<std::string>& taken) {
    const std::string stem = folder + baseNameOf(input);
    std::string name = stem + extension;
    for (int n = 2; std::find(taken.begin(), taken.end(), asciiLowerCase(name)) != taken.end(); ++n) {
        name = stem + "-" + std::to_string(n) + extension;
    }
    taken.push_back(asciiLowerCase(name));
    return name;
}

// Files dropped on pnpplot in Explorer: the current directory is none the user chose, so what
// the options leave to their defaults goes beside the first input that read. Without --each
// that is the report, <input>.html, "-2" when an input has that name, and no chart (the report
// holds it); with --each, a chart and a report per input. Returns the report to show, if one.
std::optional<std::string> settleDroppedOutputs(PlotOptions& options, const std::string& first) {
    const std::string folder = first.substr(0, first.size() - baseNameOf(first).size());
    if (options.each) {
        if (options.chartAfterFirstInput) options.output = folder;
        if (!options.html) options.html = folder;
        return std::nullopt;
    }
    if (options.chartAfterFirstInput) options.output.clear();
    if (!options.html) {
        std::vector<std::string> taken;
        for (const InputSpec& input : options.inputs) taken.push_back(asciiLowerCase(input.path));
        options.html = eachName(folder, first, ".html", taken);
    }
    return options.html;
}

// The stability chart of these traces' deviations, empty when none were asked for.
std::string stabilityOf(const std::vector<TraceAnalysis>& analyses, const PlotOptions& options) {
    std::optional<StabilityInput> input = stabilityInputOf(analyses, options);
    return input ? stabilitySvg(layoutStability(*input)) : std::string();
}

// --each: a chart, and with --html a report, of each input's traces. Returns the names
// written, or nothing after a file could not be written (the others are still written).
std::optional<std::vector<std::string>> writeEach(const PlotOptions& options, std::vector<TraceAnalysis>& analyses,
                                                  const std::vector<InputSpec>& inputs, const LimitMask* mask,
                                                  const Writer& written, std::ostream& out) {
    bool allWritten = true;
    std::vector<std::string> taken;
    for (std::size_t input = 0; input < inputs.size(); ++input) {
        // The input's traces, moved out and back, so that a large one is not copied.
        std::vector<TraceAnalysis> part;
        std::vector<std::size_t> at;
        for (std::size_t i = 0; i < analyses.size(); ++i) {
            if (analyses[i].trace->input != input) continue;
            part.push_back(std::move(analyses[i]));
            at.push_back(i);
        }
        if (part.empty()) continue;
        const ChartLayout layout = layoutChart(chartInputOf(part, options, mask));
        const std::string svg = svgChart(layout);
        const std::string chart = eachName(options.output, inputs[input].path, ".svg", taken);
        if (written(chart, svg)) {
            out << "Chart written to " << chart << "\n";
        } else {
            allWritten = false;
        }
        if (options.html) {
            const std::string report = eachName(*options.html, inputs[input].path, ".html", taken);
            if (written(report, htmlReport(layout, svg, stabilityOf(part, options), part, options.analysis.band,
                                           PNPPLOT_VERSION))) {
                out << "Report written to " << report << "\n";
            } else {
                allWritten = false;
            }
        }
        for (std::size_t k = 0; k < part.size(); ++k) analyses[at[k]] = std::move(part[k]);
    }
    if (!allWritten) return std::nullopt;
    return taken;
}

// The chart, the report, the JSON summary and the table where the options send them, then the
// text summary unless standard output took one of them. False when a file could not be
// written, which has been told on err.
bool writeOutputs(const PlotOptions& options, std::vector<TraceAnalysis>& analyses,
                  const std::vector<InputOutcome>& inputs, const LimitMask* mask, const Host& host, std::ostream& out,
                  std::ostream& err) {
    const Writer written{host, err};
    bool allWritten = true;
    const bool chartToStandardOutput = options.output == "-";
    std::optional<std::string> chart, report;
    if (options.each) {
        allWritten = writeEach(options, analyses, options.inputs, mask, written, out).has_value();
    } else {
        const ChartLayout layout = layoutChart(chartInputOf(analyses, options, mask));
        const std::string svg = svgChart(layout);
        if (chartToStandardOutput) out << svg;
        if (!chartToStandardOutput && !options.output.empty()) {
            if (!written(options.output, svg)) return false;
            chart = options.output;
        }
        if (options.html) {
            if (!written(*options.html, htmlReport(layout, svg, stabilityOf(analyses, options), analyses,
                                                   options.analysis.band, PNPPLOT_VERSION))) {
                return false;
            }
            report = *options.html;
        }
    }
    if (options.stabilityChart && !written(*options.stabilityChart, stabilityOf(analyses, options))) return false;
    if (options.json) {
        std::string json = summaryJson(analyses, inputs, chart, report, PNPPLOT_VERSION);
        if (*options.json == "-") {
            out << json;
        } else if (!written(*options.json, json)) {
            return false;
        }
    }
    if (options.table) {
        std::vector<std::string> paths;
        for (const InputSpec& input : options.inputs) paths.push_back(input.path);
        std::string table = summaryTable(analyses, paths);
        if (*options.table == "-") {
            out << table;
        } else if (!written(*options.table, table)) {
            return false;
        }
    }
    if (chartToStandardOutput || options.json == "-" || options.table == "-") return allWritten;
    if (chart) out << "Chart written to " << *chart << "\n";
    if (options.stabilityChart) out << "Stability chart written to " << *options.stabilityChart << "\n";
    if (report) out << "Report written to " << *report << "\n";
    if (options.json) out << "Summary written to " << *options.json << "\n";
    if (options.table) out << "Table written to " << *options.table << "\n";
    for (const TraceAnalysis& analysis : analyses) {
        out << "\n";
        writeSummaryText(out, analysis);
    }
    return allWritten;
}

}  // namespace

int PlotDriver::run(int argc, const char* const argv[]) const {
    // A dropped run needs the host to open the report and to wait for a key as well.
    const bool dropped =
        host.consoleIsOwn && host.openAsDesktopDoes && host.waitForKey && host.consoleIsOwn(host.context);
    bool holdOpen = false;
    const int status = draw(argc, argv, dropped, holdOpen);
    // A mask that fails is a verdict the report shows, not an error.
    if (dropped && (holdOpen || status == statusNotAllRead || status == statusUsage)) {
        out->flush();
        *err << pressAKeyText << std::endl;
        host.waitForKey(host.context);
    }
    return status;
}

int PlotDriver::draw(int argc, const char* const argv[], bool dropped, bool& holdOpen) const {
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
    holdOpen = loaded.warned || !analyses.warnings.empty();
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
    // Without -o the chart is named after the first input that could be read, in the current
    // directory; with --each each input's chart goes there.
    const std::string& first =
        std::find_if(loaded.outcomes.begin(), loaded.outcomes.end(), [](const InputOutcome& input) {
            return !input.problem;
        })->path;
    if (options.chartAfterFirstInput) options.output = options.each ? "" : baseNameOf(first) + ".svg";
    const std::optional<std::string> shown = dropped ? settleDroppedOutputs(options, first) : std::nullopt;
    int status = loaded.allRead ? 0 : statusNotAllRead;
    if (!writeOutputs(options, analyses.traces, loaded.outcomes, mask ? &*mask : nullptr, host, *out, *err))
        return statusNotAllRead;
    if (shown && !host.openAsDesktopDoes(host.context, *shown)) {
        *err << "pnpplot: " << *shown << ": could not be opened in the browser; open it from its folder\n";
        holdOpen = true;
    }
    out->flush();
    if (!*out) {
        *err << "pnpplot: standard output: could not be written\n";
        return statusNotAllRead;
    }
    if (status == 0 && anyMaskFails(analyses.traces)) status = statusMaskFailed;
    return status;
}

}  // namespace csv2pnp
