#include "chart/decimate.h"

#include <algorithm>
#include <cmath>

#include "numeric/portable_math.h"

namespace csv2pnp {

std::vector<TracePoint> decimate(const std::vector<TracePoint>& points, const OffsetAxis& axis, int columns) {
    std::vector<TracePoint> kept;
    auto columnOf = [&](const TracePoint& p) {
        return std::clamp(static_cast<int>(std::floor(offsetPosition(axis, p.offset) * columns)), 0, columns - 1);
    };
    const double decadesPerColumn = static_cast<double>(axis.last - axis.first) / columns;
    for (std::size_t begin = 0; begin < points.size();) {
        int column = columnOf(points[begin]);
        // The column ends at this offset; the points up to it need no logarithm of their own.
        const double next =
            column == columns - 1 ? INFINITY : math::exp10(axis.first + (column + 1) * decadesPerColumn);
        std::size_t end = begin + 1;
        std::size_t lowest = begin, highest = begin;
        for (; end < points.size() && points[end].offset < next; ++end) {
            if (points[end].level < points[lowest].level) lowest = end;
            if (points[end].level > points[highest].level) highest = end;
        }
        std::size_t picks[] = {begin, std::min(lowest, highest), std::max(lowest, highest), end - 1};
        for (std::size_t i = 0; i < 4; ++i) {
            if (i == 0 || picks[i] != picks[i - 1]) kept.push_back(points[picks[i]]);
        }
        begin = end;
    }
    return kept;
}

}  // namespace csv2pnp
