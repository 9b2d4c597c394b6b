// What the HTML report's script needs of each drawn trace: the points the chart shows, and
// enough to integrate any band of the whole trace in the page.
#pragma once

#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "analysis/trace_analysis.h"
#include "chart/chart_layout.h"

namespace csv2pnp {

struct ReportTrace {
    std::size_t line;                                // its index among the chart's lines and the analyses
    std::optional<double> carrier;                   // Hz; nothing for a carrier of 0, which has no jitter
    bool thinned;                                    // the chart drew fewer points than the trace has
    std::vector<TracePoint> drawn;                   // the chart's vertices, as drawn (smoothed with --smooth)
    std::vector<TracePoint> figure;                  // every point as integrated, when not thinned
    std::vector<std::pair<double, double>> running;  // when thinned: at each vertex, the whole
                                                     // trace's areas from its first offset
    std::vector<std::pair<double, double>> tones;    // with --spurs power: each spur's offset and
                                                     // power, added to any band that holds it
    std::vector<TracePoint> spurs;                   // each spur's highest point, in order of offset
    std::vector<TracePoint> measured{};              // the levels before the floor's subtraction, as
                                                     // the chart drew them; empty where it drew none
};

// One per series of the chart; analyses are in the order of the chart's lines.
std::vector<ReportTrace> reportTraces(const ChartLayout& layout, const std::vector<TraceAnalysis>& analyses);

}  // namespace csv2pnp
