// The summary of each trace as pnpplot prints it on the console.
#pragma once

#include <ostream>
#include <string>
#include <vector>

#include "analysis/trace_analysis.h"

namespace csv2pnp {

// One line of the summary: a name ("" where a value goes on) and its value.
struct SummaryField {
    std::string name;
    std::string value;
    bool failing = false;            // a verdict against the trace, such as a mask it fails
    std::vector<std::string> cells;  // a row of a table instead of a value: the rows in a run of
                                     // fields with cells stand in columns, the first their heads
};
using SummaryFields = std::vector<SummaryField>;

// Source, the time of the measurement when the file has one, carrier, points and offsets;
// spot noise at each decade inside the band; the integrated figures over the band, clipped
// to the trace; spurs, the floor margin and the mask's verdict. The text summary and the
// HTML report's tables print these.
SummaryFields summaryFields(const TraceAnalysis& analysis);

// The caption, then one "name  value" line per field, the names in a column.
void writeSummaryText(std::ostream& out, const TraceAnalysis& analysis);

// What changed the band's figures from those of the trace as measured: "floor subtracted",
// "spurs omitted", "its 2 spurs as tones"; none when nothing did.
std::vector<std::string> figureBasis(const TraceAnalysis& analysis);

// What a figure beyond a double is said as.
extern const char* const figureOverflows;

// A figure as the summary prints it, or what became of it: "overflows" when the levels are
// beyond what a double holds.
std::string phaseNoiseText(double dbc);
std::string rmsPhaseText(double radians, double degrees);
std::string jitterText(std::optional<double> seconds);
std::string residualFmText(double hertz);
std::string offsetText(double hertz);

}  // namespace csv2pnp
