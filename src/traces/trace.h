// A measured noise trace as pnpplot draws it and sums it up.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace csv2pnp {

// A band of offsets, such as the range of the integrated figures.
struct OffsetBand {
    double from;  // Hz
    double to;
};

struct TracePoint {
    double offset;  // from the carrier, Hz
    double level;   // dBc/Hz
};

struct Trace {
    std::string caption;
    std::string source;             // the input as named on the command line
    std::string measurement;        // what was measured: the caption without " (imaginary part)", the export's name
    std::string group;              // the traces of one input pair or export share it, and a hue
    bool floor = false;             // the floor (imaginary-part) trace, drawn dashed
    std::optional<double> carrier;  // Hz, from the file's CAR record
    std::string time;               // the file's TIM record, when it has one
    std::vector<TracePoint> points;
    std::size_t leftOut = 0;        // points a log axis cannot show: offset at or below 0, not finite
};

// Leaves out the points a chart cannot show, counting them, and orders the rest by offset
// (points of equal offset keep their order).
void settlePoints(Trace& trace);

}  // namespace csv2pnp
