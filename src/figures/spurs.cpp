#include "figures/spurs.h"

#include <algorithm>
#include <cmath>

#include "figures/noise_figures.h"
#include "figures/power_law.h"
#include "numeric/numeric.h"
#include "numeric/portable_math.h"

namespace csv2pnp {

namespace {

// The window stays centred on its point: near an end it narrows to the neighbours there are.
// A window of the nearest points that is not centred would put a sloping trace's end points
// far above their baseline (a 1/f^3 slope drawn 10 points a decade puts its first point 15 dB
// above the median of the 11 nearest), and report a spur at every steep end.
// A point exceeds its window's median by more than the threshold exactly when more than half
// of the window lies below its level less the threshold, so no median need be sorted out.
bool raised(const std::vector<TracePoint>& points, std::size_t i, double threshold) {
    const std::size_t n = points.size();
    const std::size_t half = std::min({spurBaselinePoints / 2, i, n - 1 - i});
    const double below = points[i].level - threshold;
    std::size_t count = 0;
    for (std::size_t k = i - half; k <= i + half; ++k) count += points[k].level < below;
    return count > half;
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
    for (std::size_t i = 0; i < points.size();) {
        if (!raised(points, i, threshold)) {
            ++i;
            continue;
        }
        std::size_t first = i, last = i;
        while (last + 1 < points.size() && raised(points, last + 1, threshold)) ++last;
        i = last + 1;
        if (last - first + 1 > longestSpur || (first == 0 && last + 1 == points.size())) continue;

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
