#include "figures/smoothing.h"

#include <cmath>

#include "figures/noise_figures.h"
#include "numeric/portable_math.h"

namespace csv2pnp {

namespace {

// Sums of ranges of powers that span 100 dB and more: a running sum would lose the small
// ones when a large one leaves the window, so each range is summed from the nodes of a tree
// whose sums were each added up from their own leaves.
struct RangeSums {
    std::size_t leaves;
    std::vector<double> nodes;  // nodes[leaves + i] holds power i; nodes[k] = nodes[2k] + nodes[2k + 1]

    explicit RangeSums(const std::vector<double>& powers) : leaves(powers.size()), nodes(2 * powers.size()) {
        for (std::size_t i = 0; i < leaves; ++i) nodes[leaves + i] = powers[i];
        for (std::size_t k = leaves - 1; k > 0; --k) nodes[k] = nodes[2 * k] + nodes[2 * k + 1];
    }

    // The sum of powers first to last, both included.
    double sum(std::size_t first, std::size_t last) const {
        double low = 0, high = 0;
        for (std::size_t l = first + leaves, r = last + leaves + 1; l < r; l /= 2, r /= 2) {
            if (l & 1) low += nodes[l++];
            if (r & 1) high += nodes[--r];
        }
        return low + high;
    }
};

}  // namespace

std::vector<TracePoint> smoothed(const std::vector<TracePoint>& points, double decades) {
    std::vector<TracePoint> result = points;
    if (points.empty()) return result;
    std::vector<double> powers(points.size());
    for (std::size_t i = 0; i < points.size(); ++i) powers[i] = powerRatio(points[i].level);
    RangeSums sums(powers);
    // Offsets read from text are rounded (1.259 for 10^0.1): a point within 1 % of the half
    // span beyond its end still counts, so that a grid of points W/2 apart falls in evenly.
    const double ratio = math::exp10(decades / 2 * 1.01);
    std::size_t first = 0, last = 0;
    for (std::size_t i = 0; i < points.size(); ++i) {
        const double offset = points[i].offset;
        while (points[first].offset * ratio < offset) ++first;
        if (last < i) last = i;
        while (last + 1 < points.size() && points[last + 1].offset <= offset * ratio) ++last;
        double mean = sums.sum(first, last) / static_cast<double>(last - first + 1);
        result[i].level = 10 * math::log10(mean);
    }
    return result;
}

}  // namespace csv2pnp
