// Draws traces as one standalone SVG 1.1 chart: offset on a log axis, level in dBc/Hz.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "traces/trace.h"

namespace csv2pnp {

struct ChartLine {
    const Trace* trace;
    double carrier;  // Hz, named in the legend
};

struct OffsetBand {
    double from;  // Hz
    double to;
};

// Traces of one group share a hue of a colour-blind-safe palette; floor traces are dashed.
// The band, when given, is shaded. Every text from the inputs is escaped.
std::string svgChart(const std::vector<ChartLine>& lines, const std::string& title, std::optional<OffsetBand> band);

// Plot area in the chart's pixels, and the palette, for checks of a rendered chart.
struct PlotArea {
    int left, top, width, height;
};
inline constexpr PlotArea plotArea{80, 50, 640, 480};
inline constexpr const char* palette[] = {"#0072B2", "#D55E00", "#009E73", "#CC79A7",
                                          "#E69F00", "#56B4E9", "#000000", "#F0E442"};

}  // namespace csv2pnp
