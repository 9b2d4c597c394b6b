#include "pnpplot/plot_driver.h"

#include <algorithm>
#include <string>
#include <vector>

#include "analysis/trace_analysis.h"
#include "chart/chart_layout.h"
#include "chart/svg_chart.h"
#include "files/input_bytes.h"
#include "pnpplot/plot_options.h"
#include "report/summary_text.h"
#include "traces/trace_reader.h"

namespace csv2pnp {

namespace {

const char* const helpText =
    "Usage: pnpplot [options] FILE...\n"
    "Draws noise plot files (.pnp, .img.pnp) and PN2060 CSV exports as one SVG chart and\n"
    "prints the phase-noise figures of each trace.\n"
    "\n"
    "Options:\n"
    "  -o FILE    the SVG file; default: the first input's name + .svg, in the current\n"
    "             directory; - writes the SVG to standard output and prints no summary\n"
    "  -r F1:F2   offset range of the integrated figures, in Hz with SI suffixes\n"
    "             (10, 1k, 12k, 1.5M); default: each trace's whole range\n"
    "  -c HZ      carrier frequency for the jitter; default: the file's CAR record, 10 MHz\n"
    "             for a CSV export\n"
    "  -t TEXT    the chart's title; default: the captions of the inputs\n"
    "  --help     show this text\n"
    "  --version  show the version\n"
    "\n"
    "Exit status: 0 every input drawn, 1 an input could not be read or held no trace,\n"
    "2 a usage error.\n";

struct LoadedInputs {
    std::vector<Trace> traces;
    bool allRead = true;
};

// Reads each input in turn; a problem is told on err and the other inputs still count.
LoadedInputs loadInputs(const std::vector<std::string>& paths, const FileSystem& files, std::ostream& err) {
    LoadedInputs loaded;
    for (const std::string& path : paths) {
        InputBytes input = readInputBytes(path, files);
        std::string problem = input.status == InputStatus::notOpened    ? "cannot be opened"
                              : input.status == InputStatus::readFailed ? "could not be read to its end"
                                                                        : "";
        if (problem.empty()) {
            InputTraces found = readTraces(std::move(input.bytes), path);
            problem = found.error;
            for (Trace& trace : found.traces) loaded.traces.push_back(std::move(trace));
        }
        if (!problem.empty()) {
            err << "pnpplot: " << path << ": " << problem << "\n";
            loaded.allRead = false;
        }
    }
    return loaded;
}

std::vector<TraceAnalysis> analyseTraces(const std::vector<Trace>& traces, const PlotOptions& options) {
    std::vector<TraceAnalysis> analyses;
    for (const Trace& trace : traces) analyses.push_back(analyseTrace(trace, chooseCarrier(trace, options.carrier), options.range));
    return analyses;
}

std::string defaultTitle(const std::vector<Trace>& traces) {
    std::vector<std::string> measurements;
    std::string title;
    for (const Trace& trace : traces) {
        if (std::find(measurements.begin(), measurements.end(), trace.measurement) != measurements.end()) continue;
        title += (measurements.empty() ? "" : ", ") + trace.measurement;
        measurements.push_back(trace.measurement);
    }
    return title;
}

ChartLayout chartOf(const std::vector<TraceAnalysis>& analyses, const std::vector<Trace>& traces, const PlotOptions& options) {
    std::vector<ChartLine> lines;
    for (const TraceAnalysis& analysis : analyses) lines.push_back(ChartLine{analysis.trace, analysis.carrier.hertz});
    return layoutChart(lines, options.title.value_or(defaultTitle(traces)), options.range);
}

}  // namespace

int PlotDriver::run(int argc, const char* const argv[]) const {
    ParsedOptions parsed = parsePlotOptions(argc, argv);
    const PlotOptions& options = parsed.options;
    if (options.help) {
        *out << helpText;
        return 0;
    }
    if (options.version) {
        *out << "pnpplot " << PNPPLOT_VERSION << "\n";
        return 0;
    }
    if (!parsed.error.empty()) {
        *err << "pnpplot: " << parsed.error << "\nTry 'pnpplot --help'.\n";
        return 2;
    }

    LoadedInputs loaded = loadInputs(options.inputs, files, *err);
    int status = loaded.allRead ? 0 : 1;
    if (loaded.traces.empty()) {
        *err << "pnpplot: nothing to draw\n";
        return 1;
    }
    std::vector<TraceAnalysis> analyses = analyseTraces(loaded.traces, options);
    std::string svg = svgChart(chartOf(analyses, loaded.traces, options));

    if (options.output == "-") {
        *out << svg << std::flush;
        return status;
    }
    if (!writeWholeFile(files, options.output, svg)) {
        *err << "pnpplot: " << options.output << ": could not be written\n";
        return 1;
    }
    *out << "Chart written to " << options.output << "\n";
    for (const TraceAnalysis& analysis : analyses) {
        *out << "\n";
        writeSummaryText(*out, analysis);
    }
    *out << std::flush;
    return status;
}

}  // namespace csv2pnp
