#include "chart/chart_layout.h"

#include <algorithm>
#include <cmath>

#include "chart/decimate.h"
#include "numeric/numeric.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

constexpr int chartWidth = 1000;
constexpr int chartHeight = 600;
constexpr int legendLeft = plotArea.left + plotArea.width + 20;
constexpr int legendRowHeight = 40;
constexpr int maxDecadesWithMinorLines = 12;

double drawnLevel(double level) { return std::clamp(level, -drawnLevelLimit, drawnLevelLimit); }

std::string decadeLabel(int decade) {
    if (decade >= -3 && decade <= 12) return withPrefix(powerOfTen(decade), "Hz");
    return "1e" + std::to_string(decade) + " Hz";
}

// The axes hold every trace and the mask.
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
    for (const ChartLine& line : input.lines) take(line.trace->points);
    take(input.mask);
    layout.offsets = offsetAxisFor(lowOffset, highOffset);
    layout.levels = levelAxisFor(lowLevel, highLevel);
}

double clampedX(const ChartLayout& layout, double offset) {
    return std::clamp(chartX(layout, offset), double(layout.area.left), double(layout.area.left + layout.area.width));
}

void placeGrid(ChartLayout& layout) {
    const OffsetAxis& axis = layout.offsets;
    const PlotArea& area = layout.area;
    int decades = axis.last - axis.first;
    // Minor lines and every label only while the decades leave room for them.
    int labelEvery = std::max(1, decades / maxDecadesWithMinorLines);
    for (int d = axis.first; d <= axis.last; ++d) {
        double x = area.left + static_cast<double>(d - axis.first) / decades * area.width;
        layout.offsetGrid.push_back(GridLine{x, false, (d - axis.first) % labelEvery == 0 ? decadeLabel(d) : ""});
        if (d == axis.last || decades > maxDecadesWithMinorLines) continue;
        for (int m = 2; m <= 9; ++m) layout.offsetGrid.push_back(GridLine{x + std::log10(m) / decades * area.width, true, ""});
    }
    const LevelAxis& levels = layout.levels;
    auto steps = static_cast<int>(std::lround((levels.top - levels.bottom) / levels.step));
    for (int i = 0; i <= steps; ++i) {
        double level = levels.bottom + i * levels.step;
        layout.levelGrid.push_back(GridLine{chartY(layout, level), false, withDecimals(level, 0)});
    }
}

}  // namespace

double chartX(const ChartLayout& layout, double offset) {
    return layout.area.left + offsetPosition(layout.offsets, offset) * layout.area.width;
}

double chartY(const ChartLayout& layout, double level) {
    const LevelAxis& levels = layout.levels;
    return layout.area.top + (levels.top - drawnLevel(level)) / (levels.top - levels.bottom) * layout.area.height;
}

ChartLayout layoutChart(const ChartInput& input) {
    ChartLayout layout{chartWidth, chartHeight, plotArea, input.title, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}, {}};
    if (input.lines.empty()) return layout;
    placeAxes(layout, input);
    placeGrid(layout);
    if (input.band) {
        layout.band = ShadedBand{*input.band, clampedX(layout, input.band->from), clampedX(layout, input.band->to)};
    }

    std::vector<std::string> groups;
    int row = 0;
    for (const ChartLine& line : input.lines) {
        const Trace& trace = *line.trace;
        auto group = std::find(groups.begin(), groups.end(), trace.group);
        if (group == groups.end()) group = groups.insert(groups.end(), trace.group);
        LineStyle style{palette[static_cast<std::size_t>(group - groups.begin()) % std::size(palette)], 2,
                        trace.floor ? "7 4" : ""};
        layout.series.push_back(ChartSeries{decimate(trace.points, layout.offsets, layout.area.width), style});
        layout.legend.push_back(LegendEntry{legendLeft, layout.area.top + 10 + row++ * legendRowHeight, style,
                                            trace.caption, line.note});
        for (const OffsetBand& range : line.marginRanges) {
            // A range of one point still shows, two pixels wide.
            double left = clampedX(layout, range.from), right = std::max(clampedX(layout, range.to), left + 2);
            layout.marginShades.push_back(ShadedRange{left, right, style.colour});
        }
        for (const TracePoint& peak : line.spurPeaks) layout.spurMarks.push_back(ChartMark{peak.offset, peak.level, style.colour});
        for (const TracePoint& point : line.failingPoints) {
            layout.failMarks.push_back(ChartMark{point.offset, point.level, maskColour});
        }
    }
    if (!input.mask.empty()) {
        LineStyle style{maskColour, 2, "2 3"};
        layout.mask = ChartSeries{input.mask, style};
        layout.legend.push_back(LegendEntry{legendLeft, layout.area.top + 10 + row * legendRowHeight, style, "limit mask", ""});
    }
    return layout;
}

}  // namespace csv2pnp
