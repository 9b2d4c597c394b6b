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
    std::string caption;            // the name shown: "osc1.csv phase noise", "osc1.csv floor", a CAP record
    std::string source;             // the input as named on the command line
    std::string measurement;        // what was measured: a CAP record without " (imaginary part)", the export's name
    std::string group;              // the traces of one input pair or export share it, and a hue
    bool floor = false;             // the floor (imaginary-part) trace
    bool plotFile = false;          // read from a plot file rather than an export
    std::optional<double> carrier;  // Hz, from the file's CAR record; without one a plot file's
                                    // points are at their frequencies
    std::string time;               // the file's TIM record, when it has one
    std::vector<TracePoint> points;
    std::size_t leftOut = 0;   // points a log axis cannot show: offset at or below 0, not finite
    std::size_t repeated = 0;  // points left out for a later one at the same offset
};

// Leaves out the points a chart cannot show, counting them, orders the rest by offset and
// keeps the last of points at the same offset, counting the others.
void settlePoints(Trace& trace);

}  // namespace csv2pnp
