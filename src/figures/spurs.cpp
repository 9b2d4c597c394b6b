#include "figures/spurs.h"

#include <algorithm>
#include <cmath>

#include "figures/noise_figures.h"
#include "figures/power_law.h"
#include "numeric/numeric.h"
#include "numeric/portable_math.h"
#include "numeric/sliding_median.h"

namespace csv2pnp {

namespace {

// How far each point stands above its baseline, the median of its window: 2 more than the
// threshold (raised), 1 more than half of it (elevated), 0 less. The window slides along the
// trace, both of its ends only ever moving up. It stays centred on its point: near an end it
// narrows to the span and the count of points the trace has on both sides. A window that is
// not centred would put a sloping trace's end points far above their baseline (a 1/f^3 slope
// drawn 10 points a decade puts its first point 15 dB above the median of the 11 nearest),
// and report a spur at every steep end.
std::vector<char> standing(const std::vector<TracePoint>& points, double threshold) {
    const std::size_t n = points.size();
    std::vector<double> levels(n);
    for (std::size_t i = 0; i < n; ++i) levels[i] = points[i].level;
    SlidingMedian window(levels);
    std::vector<char> above(n, 0);
    const double lowest = points.front().offset, highest = points.back().offset;
    std::size_t low = 0, high = 0;  // the points within the ratio: low..high
    for (std::size_t i = 0; i < n; ++i) {
        const double offset = points[i].offset;
        const double ratio = std::min({spurBaselineRatio, offset / lowest, highest / offset});
        while (points[low].offset < offset / ratio) ++low;
        high = std::max(high, i);
        while (high + 1 < n && points[high + 1].offset <= offset * ratio) ++high;
        const std::size_t least = std::min({spurBaselinePoints, i, n - 1 - i});
        const std::size_t from = std::min(low, i - least), to = std::max(high, i + least) + 1;
        window.moveTo(from, to);
        const double median = window.median();
        above[i] =
            static_cast<char>((median < points[i].level - threshold / 2) + (median < points[i].level - threshold));
    }
    return above;
}

// The clean line's level at an offset: the power law between the run's neighbours, or the
// one neighbour's level when the run reaches an end of the trace.
double cleanLevel(const std::vector<TracePoint>& points, std::size_t first, std::size_t last, double offset) {
    bool hasBefore = first > 0, hasAfter = last + 1 < points.size();
    if (!hasBefore) return points[last + 1].level;
    if (!hasAfter) return points[first - 1].level;
    const TracePoint& a = points[first - 1];
    const TracePoint& b = points[last + 1];
    return levelBetween(a, b, offset);
}

}  // namespace

double pointWidth(const std::vector<TracePoint>& points, std::size_t i) {
    if (points.size() < 2) return 0;
    if (i == 0) return points[1].offset - points[0].offset;
    if (i + 1 == points.size()) return points[i].offset - points[i - 1].offset;
    return (points[i + 1].offset - points[i - 1].offset) / 2;
}

std::vector<Spur> findSpurs(const std::vector<TracePoint>& points, double threshold) {
    std::vector<Spur> spurs;
    if (points.size() < 2) return spurs;
    const std::vector<char> above = standing(points, threshold);
    for (std::size_t i = 0; i < points.size();) {
        if (!above[i]) {
            ++i;
            continue;
        }
        std::size_t first = i, last = i;
        bool raised = above[i] == 2;
        while (last + 1 < points.size() && above[last + 1]) raised |= above[++last] == 2;
        i = last + 1;
        const bool narrow = points[last].offset / points[first].offset <= widestSpurRatio;
        if (!raised || !narrow || (first == 0 && last + 1 == points.size())) continue;

        double excess = 0;
        for (std::size_t k = first; k <= last; ++k) {
            excess += pointWidth(points, k) *
                      (powerRatio(points[k].level) - powerRatio(cleanLevel(points, first, last, points[k].offset)));
        }
        if (!(excess > 0) || !std::isfinite(excess)) continue;
        auto highest = std::max_element(points.begin() + static_cast<std::ptrdiff_t>(first),
                                        points.begin() + static_cast<std::ptrdiff_t>(last) + 1,
                                        [](const TracePoint& a, const TracePoint& b) { return a.level < b.level; });
        spurs.push_back(Spur{first, last, highest->offset, highest->level, excess, 10 * math::log10(excess)});
    }
    return spurs;
}

std::vector<TracePoint> withoutSpurs(const std::vector<TracePoint>& points, const std::vector<Spur>& spurs) {
    std::vector<TracePoint> clean = points;
    for (const Spur& spur : spurs) {
        for (std::size_t k = spur.first; k <= spur.last; ++k) {
            clean[k].level = cleanLevel(points, spur.first, spur.last, points[k].offset);
        }
    }
    return clean;
}

double jitterOf(double power, double carrier) { return std::sqrt(2 * power) / (2 * pi * carrier); }

}  // namespace csv2pnp
