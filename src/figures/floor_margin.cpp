#include "figures/floor_margin.h"

#include <cmath>

#include "figures/noise_figures.h"
#include "figures/power_law.h"
#include "numeric/numeric.h"
#include "numeric/portable_math.h"

namespace csv2pnp {

FloorMargin floorMarginOf(const std::vector<TracePoint>& points, const std::vector<TracePoint>& floor,
                          double threshold) {
    FloorMargin result;
    result.threshold = threshold;
    result.margins.reserve(points.size());
    bool inRange = false;
    // Both are in order of offset: the floor's segment moves along with the points.
    std::size_t segment = 0;
    for (const TracePoint& point : points) {
        while (segment + 1 < floor.size() && floor[segment + 1].offset < point.offset) ++segment;
        std::optional<double> floorLevel;
        if (!floor.empty() && point.offset >= floor.front().offset && point.offset <= floor.back().offset) {
            const TracePoint& low = floor[segment];
            const TracePoint& high = floor[std::min(segment + 1, floor.size() - 1)];
            if (point.offset == low.offset || segment + 1 == floor.size()) {
                floorLevel = low.level;
            } else if (point.offset == high.offset) {
                floorLevel = high.level;
            } else {
                floorLevel = levelBetween(low, high, point.offset);
            }
        }
        std::optional<double> margin;
        if (floorLevel) margin = point.level - *floorLevel;
        result.margins.push_back(margin);
        if (margin && (!result.smallest || *margin < *result.smallest)) {
            result.smallest = margin;
            result.smallestAt = point.offset;
        }
        bool below = margin && *margin < threshold;
        if (below && inRange) {
            result.below.back().to = point.offset;
            ++result.below.back().points;
        } else if (below) {
            result.below.push_back(MarginRange{point.offset, point.offset, 1});
        }
        if (below) result.belowAt.push_back(point.offset);
        if (margin && *margin < floorLimitedMargin) ++result.floorLimited;
        inRange = below;
    }
    return result;
}

std::vector<TracePoint> subtractFloor(std::vector<TracePoint>& points, const FloorMargin& margin) {
    std::vector<TracePoint> limited;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const std::optional<double>& m = margin.margins[i];
        if (!m) continue;
        if (!(*m >= floorLimitedMargin)) {
            limited.push_back(points[i]);
            continue;
        }
        // L + 10 log10(1 - 10^(-m/10)), with expm1 keeping the digits of a large margin.
        points[i].level += 10 * math::log10(-math::expm1(-*m * math::log(10.0) / 10));
    }
    return limited;
}

}  // namespace csv2pnp
