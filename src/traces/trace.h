// A measured noise trace as pnpplot draws it and sums it up.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "problems/problem.h"

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

// A figure as an instrument's export gives it: its number and its unit as written.
struct GivenFigure {
    std::string value;
    std::string unit;
};

// The noise an analyzer integrated itself over a range of one trace, as its export gives it.
struct InstrumentIntegration {
    std::size_t line = 0;  // of its row in the file
    std::string range;     // the instrument's number of the range
    OffsetBand band{};     // Hz
    std::string weighting;
    double noiseDbc = 0;  // the integrated noise, dBc
    GivenFigure noise, rmsPhase, residualFm, jitter;
};

// What an analyzer's export says of a trace beyond its points.
struct InstrumentRecord {
    std::string model;          // "FSWP-26"
    bool smoothed = false;      // "Smoothing ON": the trace was smoothed before it was exported
    bool spursRemoved = false;  // "Spurious Removal ON": its spurs were taken out
    std::vector<InstrumentIntegration> integrations;
};

struct Trace {
    std::string caption;            // the name shown: "osc1.csv phase noise", "osc1.csv floor", a CAP record
    std::string source;             // the input as named on the command line
    std::size_t input = 0;          // its input's place on the command line, from 0
    std::string measurement;        // what was measured: a CAP record without " (imaginary part)", the export's name
    std::string part;               // which trace of the input: "phase noise", "floor", "trace 1 PN", a column
    std::string group;              // the traces of one input pair or export share it, and a hue
    std::string layout;             // the name of the layout it was read from
    std::string layoutNote;         // how the reader took the file, where that needs saying
    std::string layoutTitle;        // what was read, where the layout's title would say more
    bool floor = false;             // the analyzer's floor (an imaginary-part file, a third column)
    bool amplitude = false;         // amplitude noise, never judged as phase noise
    bool plotFile = false;          // read from a plot file rather than an export
    std::optional<double> carrier;  // Hz, from the file (a CAR record, Signal Frequency); without one
                                    // a plot file's points are at their frequencies
    std::optional<double> carrierGiven;  // Hz: -c for its input, which wins over the file's
    std::string time;                    // the file's TIM record, when it has one
    std::vector<TracePoint> points;
    std::string label;                           // -l for its input, when given
    std::optional<InstrumentRecord> instrument;  // from an analyzer's export that says more
    std::size_t leftOut = 0;                     // points a log axis cannot show: offset at or below 0, not finite
    std::size_t repeated = 0;                    // points left out for a later one at the same offset
    std::size_t withoutPower = 0;                // --hat: points whose power came out at or below none
};

// Neither the floor nor amplitude noise: a trace whose spurs, margin, mask and time-domain
// figures count.
inline bool isPhaseNoise(const Trace& trace) { return !trace.floor && !trace.amplitude; }

// Leaves out the points a chart cannot show, counting them, orders the rest by offset and
// keeps the last of points at the same offset, counting the others.
void settlePoints(Trace& trace);

// What an input that yields no trace holds.
inline constexpr const char* noTrace = "holds no trace";
inline constexpr const char* noDrawablePoint = "holds no point that can be drawn";

// A trace of an input named after its file: the caption "<file name> <part>", the group of the
// input's traces.
Trace namedTrace(const std::string& source, const std::string& layout, std::string part);

// The traces that hold points once settled, or the problem of an input that holds none.
Result<std::vector<Trace>> settledTraces(std::vector<Trace> traces, const std::string& source);

}  // namespace csv2pnp
