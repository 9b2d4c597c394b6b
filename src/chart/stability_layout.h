// The stability chart: the time-domain deviations of each trace against tau, log-log, each
// trace in its colour and each deviation with its marker. Worked out once as data; the SVG
// writer draws it.
#pragma once

#include <string>
#include <vector>

#include "chart/axes.h"
#include "chart/chart_layout.h"

namespace csv2pnp {

enum class DeviationMarker { circle, square, triangle };  // ADEV, MDEV, TDEV

struct StabilitySeries {
    std::string caption;  // "osc1.csv phase noise ADEV"
    std::size_t group;    // the input's place among the main chart's groups: its hue there
    DeviationMarker marker;
    std::vector<TracePoint> points;  // offset: tau in s; level: the deviation
};

struct StabilityInput {
    std::string title;
    std::vector<StabilitySeries> series;
    bool dark = false;
};

struct StabilityLine {
    std::size_t series;
    LineStyle style;
    std::vector<std::pair<double, double>> vertices;  // pixels; points not above 0 left out
};

struct StabilityLayout {
    int width, height;
    PlotArea area;
    ChartTheme theme;
    std::string title;
    OffsetAxis taus, values;  // decades of tau and of the deviation
    std::vector<GridLine> tauGrid, valueGrid;
    std::vector<StabilityLine> lines;
    std::vector<DeviationMarker> markers;  // per line
    std::vector<LegendEntry> legend;       // one per series, its swatch the line and its marker
};

// The canvas and plot area of the main chart; the axes hold every positive finite value.
// Without such a value there is nothing but the canvas and the title.
StabilityLayout layoutStability(const StabilityInput& input);

}  // namespace csv2pnp
