// The summary of each trace as pnpplot prints it on the console.
#pragma once

#include <ostream>

#include "analysis/trace_analysis.h"

namespace csv2pnp {

// Caption, source, the time of the measurement when the file has one, carrier, points and
// offsets; spot noise at each decade inside the band; the integrated figures over the band,
// clipped to the trace. One "name  value" line each, the names in a column.
void writeSummaryText(std::ostream& out, const TraceAnalysis& analysis);

}  // namespace csv2pnp
