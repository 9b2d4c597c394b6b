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

void placeAxes(ChartLayout& layout, const std::vector<ChartLine>& lines) {
    double lowOffset = INFINITY, highOffset = -INFINITY, lowLevel = INFINITY, highLevel = -INFINITY;
    for (const ChartLine& line : lines) {
        const std::vector<TracePoint>& points = line.trace->points;
        lowOffset = std::min(lowOffset, points.front().offset);
        highOffset = std::max(highOffset, points.back().offset);
        for (const TracePoint& p : points) {
            lowLevel = std::min(lowLevel, drawnLevel(p.level));
            highLevel = std::max(highLevel, drawnLevel(p.level));
        }
    }
    layout.offsets = offsetAxisFor(lowOffset, highOffset);
    layout.levels = levelAxisFor(lowLevel, highLevel);
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

ChartLayout layoutChart(const std::vector<ChartLine>& lines, const std::string& title, std::optional<OffsetBand> band) {
    ChartLayout layout{chartWidth, chartHeight, plotArea, title, {}, {}, {}, {}, {}, {}, {}};
    if (lines.empty()) return layout;
    placeAxes(layout, lines);
    placeGrid(layout);
    if (band) {
        double left = layout.area.left, right = layout.area.left + layout.area.width;
        double from = std::clamp(chartX(layout, band->from), left, right);
        double to = std::clamp(chartX(layout, band->to), left, right);
        layout.band = ShadedBand{*band, from, to};
    }

    std::vector<std::string> groups;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Trace& trace = *lines[i].trace;
        auto group = std::find(groups.begin(), groups.end(), trace.group);
        if (group == groups.end()) group = groups.insert(groups.end(), trace.group);
        LineStyle style{palette[static_cast<std::size_t>(group - groups.begin()) % std::size(palette)], 2,
                        trace.floor ? "7 4" : ""};
        layout.series.push_back(ChartSeries{decimate(trace.points, layout.offsets, layout.area.width), style});
        layout.legend.push_back(LegendEntry{legendLeft, layout.area.top + 10 + static_cast<int>(i) * legendRowHeight, style,
                                            trace.caption, "carrier " + withPrefix(lines[i].carrier, "Hz")});
    }
    return layout;
}

}  // namespace csv2pnp
