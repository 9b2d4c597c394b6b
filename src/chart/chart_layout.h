// Where everything of a chart goes, worked out once: the canvas, the plot area, the axes'
// ranges and grid, the shaded band, and each trace's style, drawn points and legend entry.
// The SVG writer and the HTML report's read-out use the same layout.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "chart/axes.h"
#include "traces/trace.h"

namespace csv2pnp {

// A trace to draw, with the carrier its legend names.
struct ChartLine {
    const Trace* trace;
    double carrier;  // Hz
};

struct PlotArea {
    int left, top, width, height;
};

// Lines are drawn at their level within these: no real trace comes near, and the axis stays finite.
inline constexpr double drawnLevelLimit = 1e12;

struct GridLine {
    double at;          // x of an offset line, y of a level line
    bool minor;         // the lighter lines at 2 to 9 times a decade
    std::string label;  // empty when the line has none
};

struct LineStyle {
    std::string colour;  // #rrggbb
    double width;
    std::string dashes;  // an SVG dash array, empty for a solid line
};

struct ShadedBand {
    OffsetBand offsets;  // as asked for
    double left, right;  // its ends in pixels, clipped to the plot area
};

struct ChartSeries {
    std::vector<TracePoint> vertices;  // the points drawn, thinned to what the width shows
    LineStyle style;
};

struct LegendEntry {
    int x, y;             // the swatch's left end, on its centre line
    LineStyle style;
    std::string caption;  // as the input has it; writers escape it
    std::string note;     // below the caption
};

struct ChartLayout {
    int width, height;
    PlotArea area;
    std::string title;
    OffsetAxis offsets;
    LevelAxis levels;
    std::vector<GridLine> offsetGrid;  // in drawing order, labels beside their lines
    std::vector<GridLine> levelGrid;
    std::optional<ShadedBand> band;
    std::vector<ChartSeries> series;   // one per line, in the order given
    std::vector<LegendEntry> legend;   // one per line, in the order given
};

// Traces of one group share a hue of a colour-blind-safe palette; floor traces are dashed.
// Without lines there is nothing but the canvas and the title.
ChartLayout layoutChart(const std::vector<ChartLine>& lines, const std::string& title, std::optional<OffsetBand> band);

// Where an offset and a level stand on the canvas, in pixels.
double chartX(const ChartLayout& layout, double offset);
double chartY(const ChartLayout& layout, double level);

// The plot area and the palette, for checks of a rendered chart.
inline constexpr PlotArea plotArea{80, 50, 640, 480};
inline constexpr const char* palette[] = {"#0072B2", "#D55E00", "#009E73", "#CC79A7",
                                          "#E69F00", "#56B4E9", "#000000", "#F0E442"};

}  // namespace csv2pnp
