#include "pnpplot/plot_driver.h"

#include <algorithm>
#include <string>
#include <vector>

#include "chart/svg_chart.h"
#include "pnpplot/plot_options.h"
#include "pnpplot/summary.h"
#include "table/input_bytes.h"
#include "traces/trace_reader.h"

namespace csv2pnp {

namespace {

constexpr double exportCarrier = 10e6;  // what csv2pnp assumes without -i

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

SummaryCarrier carrierOf(const Trace& trace, const PlotOptions& options) {
    if (options.carrier) return SummaryCarrier{*options.carrier, "-c"};
    if (trace.carrier) return SummaryCarrier{*trace.carrier, "CAR record"};
    return SummaryCarrier{exportCarrier, "default for a CSV export"};
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

bool writeChartFile(const std::string& path, const std::string& svg) {
    std::optional<OutputFile> file = createOutputFile(path);
    if (!file) return false;
    bool written = writeOutputFile(*file, svg.data(), svg.size());
    return closeOutputFile(*file) && written;
}

}  // namespace

int runPnpplot(int argc, const char* const argv[], std::ostream& out, std::ostream& err, InputRead read) {
    ParsedOptions parsed = parsePlotOptions(argc, argv);
    const PlotOptions& options = parsed.options;
    if (options.help) {
        out << helpText;
        return 0;
    }
    if (options.version) {
        out << "pnpplot " << PNPPLOT_VERSION << "\n";
        return 0;
    }
    if (!parsed.error.empty()) {
        err << "pnpplot: " << parsed.error << "\nTry 'pnpplot --help'.\n";
        return 2;
    }

    int status = 0;
    std::vector<Trace> traces;
    for (const std::string& path : options.inputs) {
        InputBytes input = readInputBytes(path, read);
        std::string problem = input.status == InputStatus::notOpened    ? "cannot be opened"
                              : input.status == InputStatus::readFailed ? "could not be read to its end"
                                                                        : "";
        if (problem.empty()) {
            InputTraces found = readTraces(std::move(input.bytes), path);
            problem = found.error;
            for (Trace& trace : found.traces) traces.push_back(std::move(trace));
        }
        if (!problem.empty()) {
            err << "pnpplot: " << path << ": " << problem << "\n";
            status = 1;
        }
    }
    if (traces.empty()) {
        err << "pnpplot: nothing to draw\n";
        return 1;
    }

    std::vector<ChartLine> lines;
    for (const Trace& trace : traces) lines.push_back(ChartLine{&trace, carrierOf(trace, options).hertz});
    std::string svg = svgChart(lines, options.title.value_or(defaultTitle(traces)), options.range);

    if (options.output == "-") {
        out << svg << std::flush;
        return status;
    }
    if (!writeChartFile(options.output, svg)) {
        err << "pnpplot: " << options.output << ": could not be written\n";
        return 1;
    }
    out << "Chart written to " << options.output << "\n";
    for (const Trace& trace : traces) {
        out << "\n";
        writeSummary(out, trace, carrierOf(trace, options), options.range);
    }
    out << std::flush;
    return status;
}

}  // namespace csv2pnp
