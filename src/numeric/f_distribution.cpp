#include "numeric/f_distribution.h"

#include <cmath>

#include "numeric/portable_math.h"

namespace csv2pnp {

namespace {

// ln Gamma(z) for z > 0: z raised to 10 or more by Gamma(z + 1) = z Gamma(z), then Stirling's
// series to its z^-7 term, whose remainder there is below 1e-12.
double logGamma(double z) {
    double product = 1;
    for (; z < 10; z += 1) product *= z;
    const double inverse = 1 / z, square = inverse * inverse;
    const double series = inverse * (1.0 / 12 - square * (1.0 / 360 - square * (1.0 / 1260 - square / 1680)));
    constexpr double halfLogTwoPi = 0.91893853320467274178;
    return (z - 0.5) * math::log(z) - z + halfLogTwoPi + series - math::log(product);
}

// The continued fraction of I_x(a, b) (DLMF 8.17.22) by Lentz's method, which converges fast
// for x below (a + 1) / (a + b + 2): I_x(a, b) = x^a (1 - x)^b / (a B(a, b)) times this.
double betaFraction(double a, double b, double x) {
    constexpr double tiny = 1e-300;
    auto guarded = [](double value) { return std::fabs(value) < tiny ? tiny : value; };
    double c = 1, d = 1 / guarded(1 - (a + b) * x / (a + 1)), fraction = d;
    for (int m = 1; m < 100000; ++m) {
        const double even = m * (b - m) * x / ((a + 2 * m - 1) * (a + 2 * m));
        d = 1 / guarded(1 + even * d);
        c = guarded(1 + even / c);
        fraction *= d * c;
        const double odd = -(a + m) * (a + b + m) * x / ((a + 2 * m) * (a + 2 * m + 1));
        d = 1 / guarded(1 + odd * d);
        c = guarded(1 + odd / c);
        fraction *= d * c;
        if (std::fabs(d * c - 1) < 1e-15) break;
    }
    return fraction;
}

// I_x(a, b), given x and y = 1 - x each without the other's rounding.
double regularisedBeta(double a, double b, double x, double y) {
    if (!(x > 0)) return 0;
    if (!(y > 0)) return 1;
    const double front = math::exp(a * math::log(x) + b * math::log(y) + logGamma(a + b) - logGamma(a) - logGamma(b));
    if (x < (a + 1) / (a + b + 2)) return front * betaFraction(a, b, x) / a;
    return 1 - front * betaFraction(b, a, y) / b;
}

}  // namespace

double fTail(double f, double d1, double d2) {
    if (std::isnan(f)) return NAN;
    if (f <= 0) return 1;
    if (std::isinf(f)) return 0;
    const double scaled = d1 * f;
    return regularisedBeta(d2 / 2, d1 / 2, d2 / (d2 + scaled), scaled / (d2 + scaled));
}

}  // namespace csv2pnp
