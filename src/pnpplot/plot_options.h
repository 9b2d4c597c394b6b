// pnpplot's command line.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "traces/trace.h"

namespace csv2pnp {

struct PlotOptions {
    std::string output;                     // the SVG: "-" for standard output; empty for none (-o FILE.html)
    std::optional<OffsetBand> range;        // -r F1:F2, Hz
    std::optional<double> carrier;          // -c, Hz
    std::optional<double> normaliseTo;      // -n, Hz
    std::optional<std::string> title;       // -t
    std::optional<std::string> mask;        // -m, the mask file
    std::optional<std::string> json;        // -j, a file or "-"
    std::optional<double> spurThreshold;    // --spur-threshold, dB
    bool omitSpurs = false;                 // --omit-spurs
    std::optional<double> marginThreshold;  // --margin, dB
    bool subtractFloor = false;             // --subtract-floor
    bool dark = false;                      // --dark
    bool allanDeviation = false;            // --adev
    std::optional<double> smoothing;        // --smooth, decades
    std::optional<std::string> html;        // --html, or -o FILE.html: the HTML report
    std::vector<std::string> inputs;        // wildcards expanded where the host leaves them
    bool help = false;
    bool version = false;
};

struct ParsedOptions {
    PlotOptions options;
    std::string error;  // a usage error, empty when the command line holds none
};

ParsedOptions parsePlotOptions(int argc, const char* const argv[]);

}  // namespace csv2pnp
