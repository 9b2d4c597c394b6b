// The HTML report's tables, printed from the analyses with the summary's words and numbers:
// the figures of every trace side by side, a spur table a trace, and each trace's details.
#pragma once

#include <string>
#include <vector>

#include "analysis/trace_analysis.h"

namespace csv2pnp {

// A row a trace: carrier, each band's phase noise, RMS phase, RMS jitter and residual FM,
// spurs, smallest floor margin and mask verdict, a column none of the traces has a value for
// left out. A unit every number of a column shares stands in its heading, the numbers alone
// in its cells (class "num"); a failing verdict has the class "fail".
std::string figuresTableHtml(const std::vector<TraceAnalysis>& analyses);

// A row a trace: the offsets its figures were integrated over and how its spurs were taken,
// and the mask's verdict, as the summary words them.
std::string verdictTableHtml(const std::vector<TraceAnalysis>& analyses);

// Each phase-noise trace's spurs: offset, level, power and jitter, a row a spur carrying its
// trace's line and its offset (data-trace, data-offset) for the page's markers.
std::string spurTablesHtml(const std::vector<TraceAnalysis>& analyses);

// Everything else the summary says of each trace, in one element that opens them all: its
// fields, the spot noise and the deviations as tables of their own, the summary's tables
// (bands, the fit's terms and Allan deviation) as tables.
std::string detailTablesHtml(const std::vector<TraceAnalysis>& analyses);

}  // namespace csv2pnp
