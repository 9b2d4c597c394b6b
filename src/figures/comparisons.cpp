#include "figures/comparisons.h"

#include <algorithm>
#include <cmath>

#include "figures/noise_figures.h"
#include "numeric/portable_math.h"

namespace csv2pnp {

std::vector<double> sharedOffsets(const std::vector<const std::vector<TracePoint>*>& traces) {
    double from = -INFINITY, to = INFINITY;
    for (const std::vector<TracePoint>* points : traces) {
        if (points->empty()) return {};
        from = std::max(from, points->front().offset);
        to = std::min(to, points->back().offset);
    }
    std::vector<double> offsets;
    for (const std::vector<TracePoint>* points : traces) {
        for (const TracePoint& point : *points) {
            if (point.offset >= from && point.offset <= to) offsets.push_back(point.offset);
        }
    }
    std::sort(offsets.begin(), offsets.end());
    offsets.erase(std::unique(offsets.begin(), offsets.end()), offsets.end());
    return offsets;
}

HatResult threeCorneredHat(const std::vector<TracePoint>& ab, const std::vector<TracePoint>& ac,
                           const std::vector<TracePoint>& bc) {
    HatResult result;
    for (double offset : sharedOffsets({&ab, &ac, &bc})) {
        const double pab = powerRatio(*levelAt(ab, offset)), pac = powerRatio(*levelAt(ac, offset));
        const double pbc = powerRatio(*levelAt(bc, offset));
        const double powers[] = {(pab + pac - pbc) / 2, (pab + pbc - pac) / 2, (pac + pbc - pab) / 2};
        for (std::size_t k = 0; k < 3; ++k) {
            if (powers[k] > 0) {
                result.oscillators[k].push_back({offset, 10 * math::log10(powers[k])});
            } else {
                ++result.leftOut[k];
            }
        }
    }
    return result;
}

std::optional<Difference> differenceFrom(const std::vector<TracePoint>& trace,
                                         const std::vector<TracePoint>& reference) {
    std::vector<double> offsets = sharedOffsets({&trace, &reference});
    if (offsets.empty()) return std::nullopt;
    Difference difference;
    for (double offset : offsets) {
        const double dB = *levelAt(trace, offset) - *levelAt(reference, offset);
        if (difference.points.empty() || dB < difference.best) difference.best = dB, difference.bestAt = offset;
        if (difference.points.empty() || dB > difference.worst) difference.worst = dB, difference.worstAt = offset;
        difference.points.push_back({offset, dB});
    }
    return difference;
}

}  // namespace csv2pnp
