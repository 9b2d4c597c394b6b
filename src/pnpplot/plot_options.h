// pnpplot's command line: one table of options, from which the parser works.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/trace_analysis.h"
#include "platform/host.h"
#include "traces/trace_reader.h"
#include "problems/problem.h"

namespace csv2pnp {

// An input named on the command line, with what the options before it say of it.
struct InputSpec {
    std::string path;
    ReadOptions read;                  // --format and --columns in force
    std::optional<double> carrier;     // -c in force, Hz
    std::optional<std::string> label;  // -l just before it
};

struct PlotOptions {
    AnalysisOptions analysis;               // -c, -n, -r, the spur, margin, floor, smoothing and ADEV options
    std::string output;                     // the SVG: "-" for standard output; empty for none (-o FILE.html)
    bool chartAfterFirstInput = false;      // no -o: the SVG is named after the first input that reads
    std::optional<std::string> title;       // -t
    std::optional<std::string> mask;        // -m, the mask file
    std::optional<std::string> json;        // -j, a file or "-"
    bool dark = false;                      // --dark
    std::optional<OffsetBand> offsetRange;  // --x-range
    std::optional<std::pair<double, double>> levelRange;  // --y-range, dB
    std::optional<std::pair<int, int>> size;              // --size, pixels
    std::optional<std::string> html;                      // --html, or -o FILE.html: the HTML report
    std::optional<std::string> stabilityChart;            // --stability-chart: the deviations against tau, an SVG
    bool each = false;                 // --each: a chart (and a report) per input; -o and --html then name folders
    std::optional<std::string> table;  // --table: a CSV row per trace, a file or "-"
    std::vector<InputSpec> inputs;     // wildcards expanded where the host leaves them
    InputSpec next;                    // while parsing: what the options so far say of the next input
    std::string nextGivenBy;           // while parsing: the last option that describes an input, since one
    bool help = false;
    bool version = false;
};

// Applies an option's value (empty for an option without one) to the options.
using OptionHandler = std::optional<Problem> (*)(PlotOptions& options, const std::string& value);

struct OptionSpec {
    const char* longName;   // "--spur-threshold"; nullptr for a letter alone
    char letter;            // 'r'; '\0' for a long name alone
    const char* valueName;  // "DB", as --help names it; nullptr for an option without a value
    OptionHandler apply;
    bool perInput = false;  // it describes the inputs that follow it (-c, -l, --format, --columns)
};

// Every option pnpplot takes, in the order --help lists them.
const std::vector<OptionSpec>& plotOptionTable();

// A usage problem has no file: "-r 100k:10: the range must rise".
Result<PlotOptions> parsePlotOptions(int argc, const char* const argv[], const Host& host);

}  // namespace csv2pnp
