#include "chart/chart_layout.h"

#include <algorithm>
#include <cmath>

#include "chart/decimate.h"
#include "chart/text_width.h"
#include "numeric/numeric.h"
#include "text/utf8_text.h"
#include "units/si_units.h"
#include "numeric/portable_math.h"

namespace csv2pnp {

namespace {

constexpr int chartWidth = 1080;
constexpr int minimumHeight = 600;
// The legend's column starts clear of the last offset label and takes the canvas's rest.
constexpr int legendGap = 30, legendColumn = 330;
constexpr int bottomRoom = 70;  // under the plot: the offset labels and the axis's title
constexpr int captionHeight = 18, noteHeight = 15, entryGap = 12, bottomMargin = 20;
// With the legend under the plot: the canvas as wide as the plot and its labels, two columns
// of entries (a caption of longestCaption characters fits one), closer together.
constexpr int narrowMargin = 40;
constexpr int columnWidth = 340, columnGap = 6;
constexpr int belowAxisTitle = 60;  // from the plot's bottom to the legend's top

// The dash patterns of the rounds of groups after the palette's colours, phase noise and floors.
constexpr const char* traceDashes[] = {"", "12 4 3 4", "3 3", "16 6"};
constexpr const char* floorDashes[] = {"6 3", "6 3 1 3", "2 4", "9 3 2 3"};

double drawnLevel(double level) { return std::clamp(level, -drawnLevelLimit, drawnLevelLimit); }

TickText offsetText(int decade) { return decadeText(decade, "Hz"); }

// The axes hold every trace and the mask, with some headroom above and below.
void placeAxes(ChartLayout& layout, const ChartInput& input) {
    double lowOffset = INFINITY, highOffset = -INFINITY, lowLevel = INFINITY, highLevel = -INFINITY;
    auto take = [&](const std::vector<TracePoint>& points) {
        if (points.empty()) return;
        lowOffset = std::min(lowOffset, points.front().offset);
        highOffset = std::max(highOffset, points.back().offset);
        for (const TracePoint& p : points) {
            lowLevel = std::min(lowLevel, drawnLevel(p.level));
            highLevel = std::max(highLevel, drawnLevel(p.level));
        }
    };
    for (const ChartLine& line : input.lines) {
        take(*line.points);
        take(line.measured);
    }
    take(input.mask);
    if (input.zeroLine) {
        lowLevel = std::min(lowLevel, 0.0);
        highLevel = std::max(highLevel, 0.0);
    }
    layout.offsets = input.offsetRange ? offsetAxisFor(input.offsetRange->from, input.offsetRange->to)
                                       : offsetAxisFor(lowOffset, highOffset);
    layout.levels = input.levelRange ? levelAxisFor(input.levelRange->first, input.levelRange->second)
                                     : levelAxisFor(lowLevel - levelHeadroom, highLevel + levelHeadroom);
}

void placeGrid(ChartLayout& layout) {
    const PlotArea& area = layout.area;
    layout.offsetGrid = decadeGrid(layout.offsets, area.left, area.width, true, offsetText);
    const LevelAxis& levels = layout.levels;
    auto steps = static_cast<int>(std::lround((levels.top - levels.bottom) / levels.step));
    // A label every line while they stand far enough apart, else every second, fifth, ...: no
    // two labels overprint, whatever the plot's height.
    const double spacing = area.height / std::max(steps, 1);
    int labelStep = 1;
    for (int k : {1, 2, 5, 10, 20, 50}) {
        labelStep = k;
        if (spacing * k >= minimumLabelSpacing) break;
    }
    for (int i = 0; i <= steps; ++i) {
        double level = levels.bottom + i * levels.step;
        layout.levelGrid.push_back(
            GridLine{chartY(layout, level), false, {i % labelStep == 0 ? withDecimals(level, 0) : ""}});
    }
}

// Each band's label over its middle, one row a band, moved in where it would reach past the plot.
void placeBandLabels(ChartLayout& layout) {
    const PlotArea& area = layout.area;
    std::vector<ShadedBand*> bands;
    if (layout.band) bands.push_back(&*layout.band);
    for (ShadedBand& band : layout.moreBands) bands.push_back(&band);
    for (std::size_t b = 0; b < bands.size(); ++b) {
        ShadedBand& band = *bands[b];
        const double half = textWidth((band.keyed ? bandKey : "") + band.label, bandLabelSize) / 2;
        const double low = area.left + half + 4, high = area.left + area.width - half - 4;
        band.labelX = low > high ? area.left + area.width / 2.0 : std::clamp((band.left + band.right) / 2, low, high);
        band.labelY = area.top + 14 + 13 * static_cast<int>(b);
    }
}

// Marks at points of a line, thinned as the traces are: a few a pixel column.
void addMarks(std::vector<ChartMark>& marks, const ChartLayout& layout, std::size_t line,
              const std::vector<TracePoint>& points, const std::string& colour) {
    for (const TracePoint& point : decimate(points, layout.offsets, layout.area.width)) {
        marks.push_back(ChartMark{line, point.offset, point.level, colour});
    }
}

// The part of the line from a to b (straight in log f and dB) within the level axis.
std::optional<std::vector<TracePoint>> withinLevels(const ChartLayout& layout, TracePoint a, TracePoint b) {
    const double bottom = layout.levels.bottom, top = layout.levels.top;
    double low = 0, high = 1;  // of the way from a to b
    const double rise = b.level - a.level;
    if (rise == 0) {
        if (a.level < bottom || a.level > top) return std::nullopt;
    } else {
        double t1 = (bottom - a.level) / rise, t2 = (top - a.level) / rise;
        low = std::max(low, std::min(t1, t2));
        high = std::min(high, std::max(t1, t2));
        if (!(low < high)) return std::nullopt;
    }
    const double decades = math::log10(b.offset / a.offset);
    auto at = [&](double t) { return TracePoint{a.offset * math::exp10(t * decades), a.level + t * rise}; };
    return std::vector<TracePoint>{low == 0 ? a : at(low), high == 1 ? b : at(high)};
}

// The corners' labels of every fit, clear of each other, of the band labels and of the lines
// drawn.
void placeFitLabels(ChartLayout& layout) {
    auto pixels = [&](const std::vector<TracePoint>& points) {
        std::vector<PixelPoint> line;
        for (const TracePoint& p : points) line.push_back({chartX(layout, p.offset), chartY(layout, p.level)});
        return line;
    };
    LabelObstacles obstacles;
    for (const ChartSeries& series : layout.series) obstacles.traces.push_back(pixels(series.vertices));
    if (layout.mask) obstacles.traces.push_back(pixels(layout.mask->vertices));
    std::vector<const ShadedBand*> bands;
    if (layout.band) bands.push_back(&*layout.band);
    for (const ShadedBand& band : layout.moreBands) bands.push_back(&band);
    for (const ShadedBand* band : bands) {
        const double half = textWidth((band->keyed ? bandKey : "") + band->label, bandLabelSize) / 2;
        obstacles.boxes.push_back({band->labelX - half, band->labelY - 10.0, band->labelX + half, band->labelY + 3.0});
    }
    std::vector<PixelPoint> corners;
    std::vector<double> widths;
    for (const FitDrawing& fit : layout.fits) {
        for (const std::vector<TracePoint>& line : fit.lines) obstacles.fitted.push_back(pixels(line));
        for (std::size_t c = 0; c < fit.corners.size(); ++c) {
            corners.push_back(pixels({fit.corners[c]}).front());
            widths.push_back(textWidth(fit.labels[c], cornerLabelSize));
        }
    }
    const PlotArea& area = layout.area;
    const std::vector<PixelPoint> placed = placeCornerLabels(
        corners, widths,
        {double(area.left), double(area.top), double(area.left + area.width), double(area.top + area.height)},
        std::move(obstacles));
    std::size_t next = 0;
    for (FitDrawing& fit : layout.fits) {
        for (std::size_t c = 0; c < fit.corners.size(); ++c) fit.labelAt.push_back(placed[next++]);
    }
}

double clampedX(const ChartLayout& layout, double offset) {
    return std::clamp(chartX(layout, offset), double(layout.area.left), double(layout.area.left + layout.area.width));
}

int entryHeight(const LegendEntry& entry, int gap) {
    return captionHeight + noteHeight * static_cast<int>(entry.notes.size()) + gap;
}

// The notes that every line carries, in the order of the first line's.
std::vector<std::string> sharedNotesOf(const ChartInput& input) {
    std::vector<std::string> shared;
    if (input.lines.size() < 2) return shared;
    for (const std::string& note : input.lines.front().notes) {
        bool everywhere = std::all_of(input.lines.begin(), input.lines.end(), [&](const ChartLine& line) {
            return std::find(line.notes.begin(), line.notes.end(), note) != line.notes.end();
        });
        if (everywhere && std::find(shared.begin(), shared.end(), note) == shared.end()) shared.push_back(note);
    }
    return shared;
}

// Where the first entry goes below a legend's top, after the shared notes.
int firstEntryBelow(int top, std::size_t sharedNotes) {
    return top + 10 + (sharedNotes == 0 ? 0 : static_cast<int>(sharedNotes) * noteHeight + 6);
}

void placeSharedNotes(ChartLayout& layout, const std::vector<std::string>& shared, int x, int top) {
    layout.sharedNotes.clear();
    for (std::size_t i = 0; i < shared.size(); ++i) {
        layout.sharedNotes.push_back(
            LegendNote{x, top + 4 + static_cast<int>(i) * noteHeight, shortened(shared[i], longestNote)});
    }
}

// The legend beside the plot, one entry under the other; returns the canvas's height it needs.
int placeBeside(ChartLayout& layout, const std::vector<std::string>& shared) {
    const int legendLeft = layout.area.left + layout.area.width + legendGap;
    placeSharedNotes(layout, shared, legendLeft, layout.area.top);
    int y = firstEntryBelow(layout.area.top, shared.size());
    for (LegendEntry& entry : layout.legend) {
        entry.x = legendLeft;
        entry.y = y;
        entry.width = layout.width - legendLeft;
        y += entryHeight(entry, entryGap);
    }
    return y + bottomMargin;
}

// The legend under the plot in two columns, the first down to where the two are most nearly
// alike, breaking between entries of different inputs where it can (an input's phase noise
// and floor stay together); returns the canvas's height it needs.
int placeBelow(ChartLayout& layout, const std::vector<std::string>& shared, const std::vector<std::string>& inputs,
               bool fixedWidth) {
    if (!fixedWidth) layout.width = layout.area.left + layout.area.width + narrowMargin;
    const int top = layout.area.top + layout.area.height + belowAxisTitle;
    placeSharedNotes(layout, shared, layout.area.left, top);
    std::vector<LegendEntry>& legend = layout.legend;
    std::vector<int> before{0};  // the height of the entries before each
    for (const LegendEntry& entry : legend) before.push_back(before.back() + entryHeight(entry, columnGap));
    const std::size_t count = legend.size();
    std::size_t split = count;
    // A canvas too narrow for two columns of a given width keeps one.
    const bool twoColumns = layout.area.left + 2 * columnWidth <= layout.width + narrowMargin;
    for (bool anywhere : {false, true}) {
        if (!twoColumns) break;
        int tallest = before[count] + 1;
        for (std::size_t at = 1; at < count; ++at) {
            if (!anywhere && inputs[at] == inputs[at - 1]) continue;
            int column = std::max(before[at], before[count] - before[at]);
            if (column < tallest) {
                tallest = column;
                split = at;
            }
        }
        if (split < count) break;
    }
    const int first = firstEntryBelow(top, shared.size());
    for (std::size_t i = 0; i < count; ++i) {
        bool second = i >= split;
        legend[i].x = layout.area.left + (second ? columnWidth : 0);
        legend[i].y = first + before[i] - (second ? before[split] : 0);
        legend[i].width = columnWidth - 8;
    }
    return first + std::max(before[split], before[count] - before[split]) + bottomMargin;
}

}  // namespace

LineStyle lineStyleOf(const ChartTheme& theme, std::size_t group, std::size_t member, bool floor) {
    const std::size_t colours = theme.palette.size();
    const std::size_t dashes = (group / colours + member) % std::size(traceDashes);
    const std::string colour = shadeOf(theme, theme.palette[group % colours], member);
    if (floor) return LineStyle{colour, 1.25, floorDashes[dashes], 0.6};
    return LineStyle{colour, 2, traceDashes[dashes], 1};
}

std::string shortened(const std::string& bytes, std::size_t characters) {
    std::string text = utf8Text(bytes);
    std::vector<std::size_t> starts;  // where each character starts
    for (std::size_t at = 0; at < text.size();) {
        char32_t code = 0;
        starts.push_back(at);
        at += utf8SequenceAt(std::string_view(text).substr(at), code);
    }
    if (starts.size() <= characters) return text;
    std::size_t head = (characters - 1) / 2, tail = characters - 1 - head;
    return text.substr(0, starts[head]) + "\xe2\x80\xa6" + text.substr(starts[starts.size() - tail]);
}

double chartX(const ChartLayout& layout, double offset) {
    return layout.area.left + offsetPosition(layout.offsets, offset) * layout.area.width;
}

double chartY(const ChartLayout& layout, double level) {
    const LevelAxis& levels = layout.levels;
    return layout.area.top + (levels.top - drawnLevel(level)) / (levels.top - levels.bottom) * layout.area.height;
}

ChartLayout layoutChart(const ChartInput& input) {
    ChartLayout layout{};
    layout.width = chartWidth;
    layout.height = minimumHeight;
    layout.area = plotArea;
    if (input.size) {
        // The plot takes what the axes' labels and the legend's column leave of the canvas.
        layout.width = std::max(input.size->first, minimumSize.first);
        layout.height = std::max(input.size->second, minimumSize.second);
        layout.area.width = layout.width - plotArea.left - legendGap - legendColumn;
        layout.area.height = layout.height - plotArea.top - bottomRoom;
    }
    layout.clipped = input.offsetRange || input.levelRange;
    layout.dark = input.dark;
    layout.theme = input.dark ? darkTheme() : lightTheme();
    layout.title = shortened(input.title, longestTitle);
    layout.titleTooltip = shortened(input.title, longestTooltip);
    if (input.lines.empty()) return layout;
    placeAxes(layout, input);
    placeGrid(layout);
    // Each band as integrated: clipped to the offsets the traces hold, as the summary says.
    double lowest = INFINITY, highest = -INFINITY;
    for (const ChartLine& line : input.lines) {
        lowest = std::min(lowest, line.points->front().offset);
        highest = std::max(highest, line.points->back().offset);
    }
    // One band light grey; several a tint each, in the order given.
    const bool tinted = (input.band ? 1 : 0) + input.moreBands.size() > 1;
    std::size_t tints = 0;
    auto shaded = [&](const OffsetBand& band) -> std::optional<ShadedBand> {
        OffsetBand clipped{std::max(band.from, lowest), std::min(band.to, highest)};
        auto range = [](const OffsetBand& b) {
            return drawnWithPrefix(b.from, "Hz", 5) + " to " + drawnWithPrefix(b.to, "Hz", 5);
        };
        std::string label = "integrated " + range(clipped);
        if (clipped.from != band.from || clipped.to != band.to) label += " (asked " + range(band) + ")";
        const ChartTheme& theme = layout.theme;
        const std::string tint = theme.bandTints[tints++ % theme.bandTints.size()];
        if (!(clipped.from < clipped.to)) return std::nullopt;
        return ShadedBand{band,
                          clampedX(layout, clipped.from),
                          clampedX(layout, clipped.to),
                          label,
                          clipped,
                          tinted ? tint : theme.bandFill,
                          tinted ? theme.tintOpacity : theme.bandOpacity,
                          tinted};
    };
    if (input.band) layout.band = shaded(*input.band);
    for (const OffsetBand& band : input.moreBands) {
        if (std::optional<ShadedBand> more = shaded(band)) layout.moreBands.push_back(*more);
    }
    placeBandLabels(layout);
    layout.levelLabel = input.levelLabel;
    layout.levelUnit = input.levelUnit;
    if (input.zeroLine) {
        layout.zeroLine = ChartSeries{input.lines.size(),
                                      {{powerOfTen(layout.offsets.first), 0}, {powerOfTen(layout.offsets.last), 0}},
                                      LineStyle{layout.theme.text, 1.5, "", 1}};
    }

    std::vector<std::string> groups;
    std::vector<std::size_t> traceMembers, floorMembers;  // per group: its lines of each kind so far
    std::vector<ChartSeries> floors, traces;
    std::vector<std::string> shared = sharedNotesOf(input);
    if (input.wholeRanges) shared.insert(shared.begin(), wholeRangeNote);
    std::vector<std::string> inputOfEntry;  // the group of each entry's line; an entry of its own for the rest
    for (std::size_t i = 0; i < input.lines.size(); ++i) {
        const ChartLine& line = input.lines[i];
        auto group = std::find(groups.begin(), groups.end(), line.group);
        if (group == groups.end()) {
            group = groups.insert(groups.end(), line.group);
            traceMembers.push_back(0);
            floorMembers.push_back(0);
        }
        const auto g = static_cast<std::size_t>(group - groups.begin());
        const LineStyle style =
            lineStyleOf(layout.theme, g, (line.floor ? floorMembers : traceMembers)[g]++, line.floor);
        (line.floor ? floors : traces)
            .push_back(ChartSeries{i, decimate(*line.points, layout.offsets, layout.area.width), style});
        if (!line.measured.empty()) {
            layout.measured.push_back(ChartSeries{i, decimate(line.measured, layout.offsets, layout.area.width),
                                                  LineStyle{style.colour, 1, "", 0.45}});
        }
        LegendEntry entry{i,
                          LegendSwatch::line,
                          0,
                          0,
                          style,
                          shortened(line.caption, longestCaption),
                          shortened(line.caption, longestTooltip),
                          {}};
        for (const std::string& note : line.notes) {
            if (std::find(shared.begin(), shared.end(), note) == shared.end())
                entry.notes.push_back(shortened(note, longestNote));
        }
        layout.legend.push_back(std::move(entry));
        inputOfEntry.push_back(line.group);

        for (const OffsetBand& range : line.marginRanges) {
            // A range of one point still shows, two pixels wide.
            double left = clampedX(layout, range.from), right = std::max(clampedX(layout, range.to), left + 2);
            layout.marginShades.push_back(ShadedRange{i, left, right, style.colour, range});
        }
        for (const TracePoint& peak : line.spurPeaks)
            layout.spurMarks.push_back(ChartMark{i, peak.offset, peak.level, style.colour});
        addMarks(layout.failMarks, layout, i, line.failingPoints, layout.theme.maskColour);
        addMarks(layout.limitMarks, layout, i, line.floorLimited, style.colour);
        if (line.fit) {
            FitDrawing drawing{i, LineStyle{style.colour, 1.5, "1 3", 0.9}, {}, {}, {}};
            for (const auto& [a, b] : line.fit->lines) {
                if (std::optional<std::vector<TracePoint>> part = withinLevels(layout, a, b))
                    drawing.lines.push_back(std::move(*part));
            }
            for (std::size_t c = 0; c < line.fit->corners.size(); ++c) {
                const TracePoint& corner = line.fit->corners[c];
                if (corner.level < layout.levels.bottom || corner.level > layout.levels.top) continue;
                if (offsetPosition(layout.offsets, corner.offset) < 0 ||
                    offsetPosition(layout.offsets, corner.offset) > 1)
                    continue;
                drawing.corners.push_back(corner);
                drawing.labels.push_back(line.fit->cornerLabels[c]);
            }
            layout.fits.push_back(std::move(drawing));
        }
    }
    layout.series = std::move(floors);
    layout.series.insert(layout.series.end(), traces.begin(), traces.end());
    // The mask, and what the marks and the shading mean, after the traces.
    auto explain = [&](LegendSwatch swatch, const LineStyle& style, const std::string& text) {
        layout.legend.push_back(LegendEntry{std::nullopt, swatch, 0, 0, style, text, text, {}});
        inputOfEntry.push_back("\n" + text);  // no line's group: a column may break before it
    };
    if (layout.zeroLine) explain(LegendSwatch::line, layout.zeroLine->style, *input.zeroLine + " (0 dB)");
    if (!input.mask.empty()) {
        LineStyle style{layout.theme.maskColour, 2, "2 3", 1};
        layout.mask = ChartSeries{input.lines.size(), input.mask, style};
        explain(LegendSwatch::line, style, "limit mask");
    }
    placeFitLabels(layout);
    if (!layout.failMarks.empty()) explain(LegendSwatch::cross, {layout.theme.maskColour, 2, "", 1}, "above the mask");
    if (!layout.spurMarks.empty()) explain(LegendSwatch::ring, {layout.theme.mutedText, 1.5, "", 1}, "spur");
    if (!layout.marginShades.empty()) {
        // The swatch is shaded as the first shaded range is.
        explain(LegendSwatch::shade, {layout.marginShades.front().colour, 0, "", marginShadeOpacity},
                "less than " + withDecimals(input.marginThreshold, 0) + " dB above the floor");
    }
    if (!layout.measured.empty()) explain(LegendSwatch::line, layout.measured.front().style, asMeasuredCaption);
    if (!layout.fits.empty()) {
        explain(LegendSwatch::line, {layout.theme.mutedText, 1.5, "1 3", 0.9}, "fitted power laws, their corners");
    }
    if (!layout.limitMarks.empty()) {
        explain(LegendSwatch::triangle, {layout.limitMarks.front().colour, 1.5, "", 1},
                "floor-limited: an upper bound");
    }
    // A canvas of a given size grows only downward, under a legend too long for it; its plot
    // stays as large, so that charts of one size line up.
    const int least = layout.height;
    int height = placeBeside(layout, shared);
    if (height > least) {
        layout.legendBelow = true;
        height = placeBelow(layout, shared, inputOfEntry, input.size.has_value());
    }
    layout.height = std::max(least, height);
    return layout;
}

}  // namespace csv2pnp
