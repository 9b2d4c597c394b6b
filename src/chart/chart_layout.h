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

// A trace to draw, with what its legend says under its caption and the marks it carries.
struct ChartLine {
    const Trace* trace;
    std::string note;                       // "carrier 10 MHz (assumed)"
    std::vector<OffsetBand> marginRanges;   // offsets too close to the floor, shaded in its hue
    std::vector<TracePoint> spurPeaks;      // marked on the trace
    std::vector<TracePoint> failingPoints;  // above the mask, marked in the mask's colour
};

struct ChartInput {
    std::vector<ChartLine> lines;
    std::string title;
    std::optional<OffsetBand> band;             // shaded, the range of the integrated figures
    std::vector<TracePoint> mask;               // a limit line, empty for none
};

struct PlotArea {
    int left, top, width, height;
};

// Levels are drawn within these: no real trace comes near, and the axis labels stay short.
inline constexpr double drawnLevelLimit = 1000;

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

// A mark at a point: a spur's peak, or a point above the mask.
struct ChartMark {
    double offset, level;
    std::string colour;
};

// A range of offsets shaded over the plot's height, in pixels.
struct ShadedRange {
    double left, right;
    std::string colour;
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
    std::vector<ShadedRange> marginShades;  // under everything else but the band
    std::vector<ChartSeries> series;        // one per line, in the order given
    std::vector<LegendEntry> legend;        // one per line, then the mask's
    std::optional<ChartSeries> mask;        // over the traces
    std::vector<ChartMark> spurMarks;       // rings at spur peaks
    std::vector<ChartMark> failMarks;       // crosses at points above the mask
};

// Traces of one group share a hue of a colour-blind-safe palette; floor traces are dashed.
// The mask is drawn in a colour no trace uses. Without lines there is nothing but the canvas
// and the title.
ChartLayout layoutChart(const ChartInput& input);

// Where an offset and a level stand on the canvas, in pixels.
double chartX(const ChartLayout& layout, double offset);
double chartY(const ChartLayout& layout, double level);

// The plot area and the palette, for checks of a rendered chart.
inline constexpr PlotArea plotArea{80, 50, 640, 480};
inline constexpr const char* palette[] = {"#0072B2", "#D55E00", "#009E73", "#CC79A7",
                                          "#E69F00", "#56B4E9", "#000000", "#F0E442"};
inline constexpr const char* maskColour = "#B3003C";

}  // namespace csv2pnp
