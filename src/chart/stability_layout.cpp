#include "chart/stability_layout.h"

#include <algorithm>
#include <cmath>

#include "numeric/numeric.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

constexpr int legendGap = 30, rightAxisRoom = 60;
constexpr int entryHeight = 24;
// A deviation's line: solid, dashed, dotted for ADEV, MDEV, TDEV.
constexpr const char* markerDashes[] = {"", "6 3", "2 3"};

TickText secondsText(int decade) { return decadeText(decade, "s"); }

bool drawable(const TracePoint& p) {
    return p.offset > 0 && std::isfinite(p.offset) && p.level > 0 && std::isfinite(p.level);
}

// The lowest and highest of what can be drawn, of the series that are in seconds or not.
struct Span {
    double low = INFINITY, high = -INFINITY;
    void take(double value) { low = std::min(low, value), high = std::max(high, value); }
    bool any() const { return low <= high; }
};

// The axis's decades and grid along the plot's height, titled by what it shows: on the left,
// its labels end 8 pixels left of the plot; on the right they start 8 pixels right of it.
DeviationAxis deviationAxis(const Span& span, const PlotArea& area, bool seconds, const std::string& title,
                            bool right) {
    DeviationAxis axis{offsetAxisFor(span.low, span.high), {}, title};
    // Deviations run upward: the grid from the bottom of the plot.
    axis.grid =
        decadeGrid(axis.decades, area.top + area.height, -area.height, false, seconds ? secondsText : powerText);
    double widest = 0;
    for (const GridLine& line : axis.grid) widest = std::max(widest, tickWidth(line.label));
    const double clear = 8 + widest + 14;  // from the plot's edge to the title's centre
    axis.titleX = right ? area.left + area.width + clear : std::max(14.0, area.left - clear);
    return axis;
}

// "sigma_y(tau): ADEV, MDEV", naming the deviations it shows.
std::string fractionalTitle(const StabilityInput& input) {
    std::string names;
    for (auto [marker, name] : {std::pair{DeviationMarker::circle, "ADEV"}, {DeviationMarker::square, "MDEV"}}) {
        const DeviationMarker wanted = marker;  // a lambda captures no structured binding in C++17
        bool shown = std::any_of(input.series.begin(), input.series.end(),
                                 [&](const StabilitySeries& series) { return series.marker == wanted; });
        if (shown) names += (names.empty() ? "" : ", ") + std::string(name);
    }
    return "\xcf\x83y(\xcf\x84): " + names;
}

}  // namespace

StabilityLayout layoutStability(const StabilityInput& input) {
    StabilityLayout layout{};
    layout.width = 1080;
    layout.height = 600;
    layout.area = plotArea;
    layout.theme = input.dark ? darkTheme() : lightTheme();
    layout.title = shortened(input.title, longestTitle);
    Span taus, fractional, seconds;
    for (const StabilitySeries& series : input.series) {
        for (const TracePoint& p : series.points) {
            if (!drawable(p)) continue;
            taus.take(p.offset);
            (inSeconds(series.marker) ? seconds : fractional).take(p.level);
        }
    }
    if (!taus.any()) return layout;
    const PlotArea& area = layout.area;
    layout.taus = offsetAxisFor(taus.low, taus.high);
    layout.tauGrid = decadeGrid(layout.taus, area.left, area.width, true, secondsText);
    const std::string secondsTitle = "\xcf\x83x(\xcf\x84) in s: TDEV";
    if (fractional.any()) {
        layout.left = deviationAxis(fractional, area, false, fractionalTitle(input), false);
        if (seconds.any()) layout.right = deviationAxis(seconds, area, true, secondsTitle, true);
    } else {
        layout.left = deviationAxis(seconds, area, true, secondsTitle, false);
    }
    // The right axis's labels and title between the plot and the legend, the canvas wider by them.
    int room = 0;
    if (layout.right) {
        const double title = layout.right->titleX - (area.left + area.width);
        room = std::max(rightAxisRoom, static_cast<int>(std::ceil(title + 20 - legendGap)));
    }
    layout.width += room;
    const int legendLeft = area.left + area.width + legendGap + room;
    for (std::size_t s = 0; s < input.series.size(); ++s) {
        const StabilitySeries& series = input.series[s];
        LineStyle style = lineStyleOf(layout.theme, series.group, series.member, false);
        style.width = 1.5;
        style.dashes = markerDashes[static_cast<int>(series.marker)];
        const OffsetAxis& values =
            layout.right && inSeconds(series.marker) ? layout.right->decades : layout.left.decades;
        StabilityLine line{s, style, {}};
        for (const TracePoint& p : series.points) {
            if (!drawable(p)) continue;
            line.vertices.emplace_back(area.left + offsetPosition(layout.taus, p.offset) * area.width,
                                       area.top + (1 - offsetPosition(values, p.level)) * area.height);
        }
        layout.lines.push_back(std::move(line));
        layout.markers.push_back(series.marker);
        const int y = area.top + 10 + static_cast<int>(s) * entryHeight;
        // A deviation read on the right axis says so, after its caption shortened to leave room.
        const std::string note = layout.right && inSeconds(series.marker) ? rightAxisNote : "";
        layout.legend.push_back(LegendEntry{s,
                                            LegendSwatch::line,
                                            legendLeft,
                                            y,
                                            style,
                                            shortened(series.caption, longestCaption - note.size()) + note,
                                            shortened(series.caption, longestTooltip) + note,
                                            {},
                                            layout.width - legendLeft});
    }
    layout.height = std::max(layout.height, area.top + 10 + static_cast<int>(input.series.size()) * entryHeight + 20);
    return layout;
}

}  // namespace csv2pnp
