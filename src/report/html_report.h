// The HTML report: one self-contained page with the chart inline, the summary as tables, and
// a script of its own (no library, no network) that reads levels under the pointer, hides
// traces, measures between two clicks and integrates a band dragged across the plot.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/trace_analysis.h"
#include "chart/chart_layout.h"

namespace csv2pnp {

// svg: the chart as svgChart wrote it for layout; stability: the stability chart's SVG, empty
// for none; analyses in the order of the chart's lines.
std::string htmlReport(const ChartLayout& layout, const std::string& svg, const std::string& stability,
                       const std::vector<TraceAnalysis>& analyses, std::optional<OffsetBand> band,
                       const std::string& version);

}  // namespace csv2pnp
