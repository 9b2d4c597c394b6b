// The summary of each trace as pnpplot prints it on the console.
#pragma once

#include <ostream>
#include <string>

#include "analysis/trace_analysis.h"

namespace csv2pnp {

// Caption, source, the time of the measurement when the file has one, carrier, points and
// offsets; spot noise at each decade inside the band; the integrated figures over the band,
// clipped to the trace; spurs, the floor margin and the mask's verdict. One "name  value"
// line each, the names in a column.
void writeSummaryText(std::ostream& out, const TraceAnalysis& analysis);

// Where a carrier comes from, as the summaries say it.
std::string carrierSourceText(const CarrierChoice& carrier);

// A figure as the summary prints it, or what became of it: "overflows" when the levels are
// beyond what a double holds.
std::string phaseNoiseText(double dbc);
std::string rmsPhaseText(double radians, double degrees);
std::string jitterText(std::optional<double> seconds);
std::string residualFmText(double hertz);
std::string offsetText(double hertz);

}  // namespace csv2pnp
