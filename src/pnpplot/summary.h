// The figures of one trace as pnpplot prints them.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "chart/svg_chart.h"
#include "traces/trace.h"

namespace csv2pnp {

struct SummaryCarrier {
    double hertz;
    const char* from;  // where the value comes from, for the reader
};

// Caption, source, the time of the measurement when the file has one, carrier, points and offsets; spot noise at each decade inside the range;
// the integrated figures over the range (the whole trace without one), clipped to the trace.
void writeSummary(std::ostream& out, const Trace& trace, SummaryCarrier carrier, std::optional<OffsetBand> range);

}  // namespace csv2pnp
