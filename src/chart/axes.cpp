#include "chart/axes.h"

#include <cmath>

#include "numeric/numeric.h"
#include "numeric/portable_math.h"

namespace csv2pnp {

namespace {

constexpr double maxLevelLines = 30;

// The decade of the value, corrected where log10 lands a hair off an exact power of ten.
int decadeAtOrBelow(double value) {
    int decade = static_cast<int>(std::floor(math::log10(value)));
    if (powerOfTen(decade) > value) --decade;
    if (powerOfTen(decade + 1) <= value) ++decade;
    return decade;
}

}  // namespace

OffsetAxis offsetAxisFor(double lowest, double highest) {
    OffsetAxis axis{decadeAtOrBelow(lowest), decadeAtOrBelow(highest)};
    if (powerOfTen(axis.last) < highest || axis.last == axis.first) ++axis.last;
    return axis;
}

double offsetPosition(const OffsetAxis& axis, double offset) {
    return (math::log10(offset) - axis.first) / (axis.last - axis.first);
}

LevelAxis levelAxisFor(double lowest, double highest) {
    // Steps of 10 dB, or the next of 20, 50, 100, 200, 500 ... dB that needs few enough lines.
    LevelAxis axis{0, 0, 10};
    for (int i = 0;; ++i) {
        axis.step = powerOfTen(1 + i / 3) * (i % 3 == 0 ? 1 : i % 3 == 1 ? 2 : 5);
        axis.bottom = std::floor(lowest / axis.step) * axis.step;
        axis.top = std::ceil(highest / axis.step) * axis.step;
        if (!(axis.top > axis.bottom)) axis.top = axis.bottom + axis.step;
        if ((axis.top - axis.bottom) / axis.step <= maxLevelLines || !std::isfinite(axis.top - axis.bottom)) break;
    }
    return axis;
}

}  // namespace csv2pnp
