// Where everything of a chart goes, worked out once: the canvas, the plot area, the axes'
// ranges and grid, the shaded band, each trace's style and drawn points, the marks, the mask
// and the legend. The SVG writer draws it; the HTML report's read-out uses its scales.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "chart/axes.h"
#include "chart/chart_theme.h"
#include "chart/corner_labels.h"
#include "chart/decade_grid.h"
#include "traces/trace.h"

namespace csv2pnp {

// Straight lines fitted to a trace (its power-law terms) and the points where neighbouring
// ones meet, each with its label.
struct ChartFit {
    std::vector<std::pair<TracePoint, TracePoint>> lines;
    std::vector<TracePoint> corners;
    std::vector<std::string> cornerLabels;
};

// A trace to draw, with what its legend says and the marks it carries.
struct ChartLine {
    std::string caption;                              // as the input has it; shortened where drawn
    std::string group;                                // the lines of one input share a hue
    bool floor = false;                               // drawn thinner and lighter, behind the others
    const std::vector<TracePoint>* points = nullptr;  // the levels drawn, in order of offset
    std::vector<std::string> notes;                   // lines under the caption: carrier, figures
    std::vector<OffsetBand> marginRanges;             // offsets too close to the floor, shaded in its hue
    std::vector<TracePoint> spurPeaks;                // ringed
    std::vector<TracePoint> failingPoints;            // above the mask, crossed in the mask's colour
    std::vector<TracePoint> floorLimited{};           // kept as measured near the floor: an upper bound
    std::optional<ChartFit> fit{};                    // drawn thin in the line's hue
    std::vector<TracePoint> measured{};               // the levels before the floor was taken out, drawn
                                                      // thin and light behind them; empty for none
};

struct ChartInput {
    std::vector<ChartLine> lines;
    std::string title;
    std::optional<OffsetBand> band;            // shaded and labelled: the range of the integrated figures
    bool wholeRanges = false;                  // no band: each trace integrated over its own, as the legend says
    std::vector<OffsetBand> moreBands;         // more bands, each shaded and labelled
    std::string levelLabel = "L(f) (dBc/Hz)";  // the level axis: the density shown, or a difference
    std::string levelUnit = "dBc/Hz";          // the unit of the levels drawn
    std::optional<std::string> zeroLine;       // a line at 0 dB, named so: the trace the others are set against
    std::vector<TracePoint> mask;              // a limit line, empty for none
    double marginThreshold = 10;               // dB, named in the legend of the shaded ranges
    bool dark = false;
    std::optional<OffsetBand> offsetRange;                // fixed offsets: whole decades around them
    std::optional<std::pair<double, double>> levelRange;  // fixed levels: the level axis's steps around them
    std::optional<std::pair<int, int>> size;              // the canvas's width and height, at least minimumSize
};

// The least canvas a size may ask for: the plot at least 200 by 150 pixels beside its axes and
// the legend's column.
inline constexpr std::pair<int, int> minimumSize{640, 270};

struct PlotArea {
    int left, top, width, height;
};

// Levels are drawn within these: no real trace comes near, and the axis labels stay short.
inline constexpr double drawnLevelLimit = 1000;
// The least room between a drawn level and the top or bottom of the plot, in dB.
inline constexpr double levelHeadroom = 3;
// How far apart level labels stand at the least, in pixels, and how strongly a range near
// the floor is shaded.
inline constexpr double minimumLabelSpacing = 14;
inline constexpr double marginShadeOpacity = 0.12;
// The most characters of a text from the inputs that a chart draws, or holds in a tooltip.
inline constexpr std::size_t longestTitle = 80, longestCaption = 38, longestNote = 40, longestTooltip = 1000;

struct LineStyle {
    std::string colour;  // #rrggbb
    double width;
    std::string dashes;  // an SVG dash array, empty for a solid line
    double opacity;
};

struct ShadedBand {
    OffsetBand offsets;  // as asked for
    double left, right;  // its ends in pixels, clipped to the traces' offsets
    std::string label;   // "integrated 10 Hz to 100 kHz", and the band asked when it was clipped
    OffsetBand clipped;  // the offsets shaded
    std::string fill;    // one band light grey; several a tint each, keyed in their labels
    double opacity;
    bool keyed;  // its label starts with a square of its tint
    // Its label's baseline: centred over the band, within the plot, under the labels before it.
    double labelX = 0;
    int labelY = 0;
};

// The band labels' size, and the square that keys a label to its tint.
inline constexpr double bandLabelSize = 11;
inline constexpr const char* bandKey = "\xe2\x96\xa0 ";

// The legend's entry of the traces as measured, beside those with the floor taken out.
inline constexpr const char* asMeasuredCaption = "as measured, before the floor's subtraction";

// The legend's note of a chart without a band.
inline constexpr const char* wholeRangeNote = "integrated over each trace's whole range";

struct ChartSeries {
    std::size_t line;                  // its index in the input's lines
    std::vector<TracePoint> vertices;  // the points drawn, thinned to what the width shows
    LineStyle style;
};

// A mark at a point: a spur's peak, or a point above the mask.
struct ChartMark {
    std::size_t line;  // the line it belongs to
    double offset, level;
    std::string colour;
};

// A trace's fitted lines as drawn, each cut to the level axis (one wholly outside is left
// out), and the corners within the plot with their labels, placed as placeCornerLabels does
// for all the chart's corners together.
struct FitDrawing {
    std::size_t line;
    LineStyle style;
    std::vector<std::vector<TracePoint>> lines;
    std::vector<TracePoint> corners;
    std::vector<std::string> labels;
    std::vector<PixelPoint> labelAt{};  // each label's baseline centre
};

// A range of offsets shaded over the plot's height, in pixels.
struct ShadedRange {
    std::size_t line;
    double left, right;
    std::string colour;
    OffsetBand offsets;
};

// What a legend entry's swatch shows: a line, or a mark or shading the chart carries.
enum class LegendSwatch { line, ring, cross, shade, triangle };

struct LegendEntry {
    std::optional<std::size_t> line;  // the line it names; nothing for the mask's and the marks' entries
    LegendSwatch swatch;
    int x, y;  // the swatch's left end, on the caption's centre line
    LineStyle style;
    std::string caption;             // drawn: UTF-8, shortened in the middle when long
    std::string tooltip;             // the caption as the input has it, up to longestTooltip
    std::vector<std::string> notes;  // drawn below the caption, shortened
    int width = 0;                   // of the area a click on the entry reaches
};

// A note every entry of the legend shares ("carrier 10 MHz (assumed)"), said once above the
// entries instead of under each: its baseline's left end.
struct LegendNote {
    int x, y;
    std::string text;
};

struct ChartLayout {
    int width, height;
    PlotArea area;
    bool clipped = false;  // fixed scales: what is drawn is cut to the plot area
    bool dark = false;     // drawn on a dark background, in the dark theme's colours
    ChartTheme theme;
    std::string title;  // drawn, shortened
    std::string titleTooltip;
    OffsetAxis offsets;
    LevelAxis levels;
    std::vector<GridLine> offsetGrid;  // in drawing order, labels beside their lines
    std::vector<GridLine> levelGrid;
    std::optional<ShadedBand> band;
    std::vector<ShadedBand> moreBands;  // their labels stand one below the other
    std::string levelLabel, levelUnit;
    std::optional<ChartSeries> zeroLine;    // behind the traces
    std::vector<ShadedRange> marginShades;  // under everything else but the band
    std::vector<ChartSeries> measured;      // traces as measured before the floor's subtraction, behind all
    std::vector<ChartSeries> series;        // in drawing order: floors first, behind the rest
    std::optional<ChartSeries> mask;        // over the traces
    std::vector<ChartMark> spurMarks;       // rings at spur peaks
    std::vector<ChartMark> failMarks;       // crosses at points above the mask, a few a pixel column
    std::vector<ChartMark> limitMarks;      // triangles at floor-limited points, a few a pixel column
    std::vector<FitDrawing> fits;           // over the traces
    std::vector<LegendEntry> legend;        // one per line in the input's order, then the mask's
    std::vector<LegendNote> sharedNotes;    // above the legend's entries
    bool legendBelow = false;               // in columns under the plot, not beside it
};

// Each group of lines takes the next colour of the theme's palette; after the palette's
// colours the next round of groups takes the next dash pattern, so every input stays
// distinguishable. The phase-noise traces of one group after its first (an export's traces 2
// to 4) take the next dash patterns and shades of its colour, and so do its floors after the
// first. A note that every line carries is said once above the legend. The legend
// stands beside the plot while it fits the canvas's least height; a longer one moves under
// the plot, in two columns that break between inputs where they can, on a canvas as wide as
// the plot and its labels. Without lines there is nothing but the canvas and the title.
ChartLayout layoutChart(const ChartInput& input);

// The style of the member-th trace (or floor) of the group-th group: the group's colour in the
// member's shade, the dash pattern of the group's round moved on by the member, so that the
// lines of one group, and the groups of one colour, never look alike.
LineStyle lineStyleOf(const ChartTheme& theme, std::size_t group, std::size_t member, bool floor);

// Where an offset and a level stand on the canvas, in pixels.
double chartX(const ChartLayout& layout, double offset);
double chartY(const ChartLayout& layout, double level);

// The text in UTF-8, at most the given number of characters: a longer one keeps its start and
// its end around an ellipsis.
std::string shortened(const std::string& bytes, std::size_t characters);

// The plot area, for checks of a rendered chart.
inline constexpr PlotArea plotArea{80, 50, 640, 480};

}  // namespace csv2pnp
