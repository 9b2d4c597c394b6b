// The stability chart: the time-domain deviations of each trace against tau, log-log, each
// trace in its colour and each deviation with its marker; sigma_y (ADEV, MDEV) on the left
// axis, TDEV in seconds on an axis of its own at the right. Worked out once as data; the SVG
// writer draws it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "chart/axes.h"
#include "chart/chart_layout.h"

namespace csv2pnp {

enum class DeviationMarker { circle, square, triangle };  // ADEV, MDEV, TDEV

// TDEV, with triangles, is a time in seconds; ADEV and MDEV are sigma_y, without unit.
inline bool inSeconds(DeviationMarker marker) { return marker == DeviationMarker::triangle; }

struct StabilitySeries {
    std::string caption;  // "osc1.csv phase noise ADEV"
    std::size_t group;    // the input's place among the main chart's groups: its hue there
    DeviationMarker marker;
    std::vector<TracePoint> points;  // offset: tau in s; level: the deviation
    std::size_t member = 0;          // the trace's place among its input's: its shade of the hue
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

// An axis of deviations: its decades, its lines (y, with their labels) and its title.
struct DeviationAxis {
    OffsetAxis decades;
    std::vector<GridLine> grid;
    std::string title;
    double titleX = 0;  // the centre of the title's line, clear of the labels
};

struct StabilityLayout {
    int width, height;
    PlotArea area;
    ChartTheme theme;
    std::string title;
    OffsetAxis taus;  // decades of tau
    std::vector<GridLine> tauGrid;
    DeviationAxis left;                  // sigma_y; TDEV's seconds when it is alone
    std::optional<DeviationAxis> right;  // TDEV's seconds beside sigma_y
    std::vector<StabilityLine> lines;
    std::vector<DeviationMarker> markers;  // per line
    std::vector<LegendEntry> legend;       // one per series, its swatch the line and its marker
};

// After the legend's caption of a deviation on the right axis.
inline constexpr const char* rightAxisNote = " (right)";

// The canvas and plot area of the main chart, the canvas wider by the right axis's labels when
// it has one; each axis holds every positive finite value drawn on it. Without such a value
// there is nothing but the canvas and the title.
StabilityLayout layoutStability(const StabilityInput& input);

}  // namespace csv2pnp
