#include "chart/stability_layout.h"

#include <algorithm>
#include <cmath>

#include "numeric/numeric.h"
#include "numeric/portable_math.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

constexpr int legendLeft = plotArea.left + plotArea.width + 30;
constexpr int entryHeight = 24;
constexpr int maxLabelledDecades = 12;
// A deviation's line: solid, dashed, dotted for ADEV, MDEV, TDEV.
constexpr const char* markerDashes[] = {"", "6 3", "2 3"};

// The grid of a decade axis from `at(0)` to `at(1)`: a line at each decade, minor lines at 2
// to 9 times it while the decades are few, labels at most some dozen.
std::vector<GridLine> decadeGrid(const OffsetAxis& axis, double start, double length, bool labels,
                                 std::string (*label)(int decade)) {
    std::vector<GridLine> grid;
    const int decades = axis.last - axis.first, every = std::max(1, decades / maxLabelledDecades);
    for (int d = axis.first; d <= axis.last; ++d) {
        const double at = start + static_cast<double>(d - axis.first) / decades * length;
        grid.push_back({at, false, labels && (d - axis.first) % every == 0 ? label(d) : ""});
        if (d == axis.last || decades > maxLabelledDecades) continue;
        for (int m = 2; m <= 9; ++m) grid.push_back({at + math::log10(m) / decades * length, true, ""});
    }
    return grid;
}

std::string tauLabel(int decade) { return withPrefix(powerOfTen(decade), "s"); }
std::string valueLabel(int decade) { return "1e" + std::to_string(decade); }

}  // namespace

StabilityLayout layoutStability(const StabilityInput& input) {
    StabilityLayout layout{};
    layout.width = 1080;
    layout.height = 600;
    layout.area = plotArea;
    layout.theme = input.dark ? darkTheme() : lightTheme();
    layout.title = shortened(input.title, longestTitle);
    double lowTau = INFINITY, highTau = -INFINITY, lowValue = INFINITY, highValue = -INFINITY;
    auto drawable = [](const TracePoint& p) {
        return p.offset > 0 && std::isfinite(p.offset) && p.level > 0 && std::isfinite(p.level);
    };
    for (const StabilitySeries& series : input.series) {
        for (const TracePoint& p : series.points) {
            if (!drawable(p)) continue;
            lowTau = std::min(lowTau, p.offset), highTau = std::max(highTau, p.offset);
            lowValue = std::min(lowValue, p.level), highValue = std::max(highValue, p.level);
        }
    }
    if (!(lowTau <= highTau)) return layout;
    layout.taus = offsetAxisFor(lowTau, highTau);
    layout.values = offsetAxisFor(lowValue, highValue);
    const PlotArea& area = layout.area;
    layout.tauGrid = decadeGrid(layout.taus, area.left, area.width, true, tauLabel);
    // Levels run upward: the grid from the bottom of the plot.
    layout.valueGrid = decadeGrid(layout.values, area.top + area.height, -area.height, true, valueLabel);
    for (std::size_t s = 0; s < input.series.size(); ++s) {
        const StabilitySeries& series = input.series[s];
        LineStyle style = lineStyleOf(layout.theme, series.group, false);
        style.width = 1.5;
        style.dashes = markerDashes[static_cast<int>(series.marker)];
        StabilityLine line{s, style, {}};
        for (const TracePoint& p : series.points) {
            if (!drawable(p)) continue;
            line.vertices.emplace_back(area.left + offsetPosition(layout.taus, p.offset) * area.width,
                                       area.top + (1 - offsetPosition(layout.values, p.level)) * area.height);
        }
        layout.lines.push_back(std::move(line));
        layout.markers.push_back(series.marker);
        const int y = area.top + 10 + static_cast<int>(s) * entryHeight;
        layout.legend.push_back(LegendEntry{s,
                                            LegendSwatch::line,
                                            legendLeft,
                                            y,
                                            style,
                                            shortened(series.caption, longestCaption),
                                            shortened(series.caption, longestTooltip),
                                            {},
                                            layout.width - legendLeft});
    }
    layout.height = std::max(layout.height, area.top + 10 + static_cast<int>(input.series.size()) * entryHeight + 20);
    return layout;
}

}  // namespace csv2pnp
