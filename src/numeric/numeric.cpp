#include "numeric/numeric.h"

#include <cmath>
#include <cstdlib>
#include "numeric/portable_math.h"

namespace csv2pnp {

double powerOfTen(int exponent) {
    double power = 1;
    for (int i = 0; i < std::abs(exponent); ++i) power *= 10;
    return exponent < 0 ? 1 / power : power;
}

double logRatio(double a, double b) {
    // Within a factor of two the difference is exact (Sterbenz), so log1p sees every digit.
    if (b >= a / 2 && b <= 2 * a) return math::log1p((b - a) / a);
    return math::log(b / a);
}

}  // namespace csv2pnp
