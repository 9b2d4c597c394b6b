#include "chart/corner_labels.h"

#include <algorithm>
#include <cmath>
#include <numeric>

namespace csv2pnp {

namespace {

constexpr double rowHeight = 12;
// What a place costs beyond its distance from the corner: overlapping a text is never taken
// while another place is free of it, a trace's line as much as any distance, a fitted line as
// much as a row further. A place below the corner costs as much as one three rows further
// above it, one beside it as much as four rows up: close corners' labels stack above them.
constexpr double overlapCost = 1e9, traceCost = 1e6, fittedCost = rowHeight;
constexpr double belowCost = 3 * rowHeight + 2, besideCost = 7 + 4 * rowHeight;

struct Candidate {
    PixelPoint baseline;
    double distance;
};

bool overlap(const PixelBox& a, const PixelBox& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

bool inside(const PixelBox& box, const PixelBox& area) {
    return box.left >= area.left && box.right <= area.right && box.top >= area.top && box.bottom <= area.bottom;
}

// The places around a corner in order of preference, each moved sideways into the area.
std::vector<Candidate> candidates(PixelPoint corner, double width, const PixelBox& area) {
    std::vector<Candidate> places;
    const double half = width / 2;
    const double x = area.right - area.left < width ? (area.left + area.right) / 2
                                                    : std::clamp(corner.x, area.left + half, area.right - half);
    for (int row = 0;; ++row) {
        const double above = corner.y - 7 - rowHeight * row, below = corner.y + 15 + rowHeight * row;
        const bool anyAbove = above - cornerLabelAscent >= area.top,
                   anyBelow = below + cornerLabelDescent <= area.bottom;
        if (!anyAbove && !anyBelow) break;
        if (anyAbove) places.push_back({{x, above}, 7 + rowHeight * row});
        if (anyBelow) places.push_back({{x, below}, 15 + rowHeight * row + belowCost});
    }
    places.push_back({{corner.x + half + 6, corner.y + 4}, besideCost});
    places.push_back({{corner.x - half - 6, corner.y + 4}, besideCost});
    std::stable_sort(places.begin(), places.end(),
                     [](const Candidate& a, const Candidate& b) { return a.distance < b.distance; });
    return places;
}

// The line's y where it passes x, between its neighbouring points.
double yAt(const PixelPoint& a, const PixelPoint& b, double x) {
    return b.x == a.x ? a.y : a.y + (b.y - a.y) * (x - a.x) / (b.x - a.x);
}

}  // namespace

PixelBox cornerLabelBox(PixelPoint baseline, double width) {
    return {baseline.x - width / 2, baseline.y - cornerLabelAscent, baseline.x + width / 2,
            baseline.y + cornerLabelDescent};
}

bool crosses(const std::vector<PixelPoint>& line, const PixelBox& box) {
    if (line.size() == 1) return overlap(box, {line[0].x - 3, line[0].y - 3, line[0].x + 3, line[0].y + 3});
    // The segments that reach into the box's width, cut to it: the line's lowest and highest y there.
    auto first =
        std::lower_bound(line.begin(), line.end(), box.left, [](const PixelPoint& p, double x) { return p.x < x; });
    std::size_t from = first == line.begin() ? 0 : static_cast<std::size_t>(first - line.begin()) - 1;
    for (std::size_t i = from; i + 1 < line.size() && line[i].x <= box.right; ++i) {
        const PixelPoint &a = line[i], &b = line[i + 1];
        if (b.x < box.left) continue;
        const double left = std::max(a.x, box.left), right = std::min(b.x, box.right);
        const double y1 = yAt(a, b, left), y2 = yAt(a, b, right);
        if (std::max(y1, y2) >= box.top && std::min(y1, y2) <= box.bottom) return true;
    }
    return false;
}

std::vector<PixelPoint> placeCornerLabels(const std::vector<PixelPoint>& corners, const std::vector<double>& widths,
                                          const PixelBox& area, LabelObstacles obstacles) {
    std::vector<PixelPoint> placed(corners.size());
    // Every corner's dot is kept clear.
    for (const PixelPoint& corner : corners)
        obstacles.boxes.push_back({corner.x - 3, corner.y - 3, corner.x + 3, corner.y + 3});
    std::vector<std::size_t> order(corners.size());
    std::iota(order.begin(), order.end(), std::size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return corners[a].x < corners[b].x; });
    for (std::size_t i : order) {
        double best = INFINITY;
        for (const Candidate& place : candidates(corners[i], widths[i], area)) {
            if (place.distance >= best) break;  // in order of distance: nothing further can cost less
            const PixelBox box = cornerLabelBox(place.baseline, widths[i]);
            double cost = place.distance + (inside(box, area) ? 0 : overlapCost);
            for (const PixelBox& taken : obstacles.boxes) {
                if (overlap(box, taken)) cost += overlapCost;
            }
            for (const auto& line : obstacles.traces) cost += crosses(line, box) ? traceCost : 0;
            for (const auto& line : obstacles.fitted) cost += crosses(line, box) ? fittedCost : 0;
            if (cost < best) best = cost, placed[i] = place.baseline;
        }
        obstacles.boxes.push_back(cornerLabelBox(placed[i], widths[i]));
    }
    return placed;
}

}  // namespace csv2pnp
