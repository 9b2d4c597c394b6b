#include "numeric/portable_math.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>

namespace csv2pnp::math {

namespace {

constexpr double infinity = std::numeric_limits<double>::infinity();
constexpr double notANumber = std::numeric_limits<double>::quiet_NaN();

// ln 2 in two parts, the first with 32 bits so that k times it is exact for any k a double's
// exponent takes.
constexpr double ln2High = 0x1.62e42fee00000p-1;
constexpr double ln2Low = 0x1.a39ef35793c76p-33;
constexpr double inverseLn2 = 0x1.71547652b82fep+0;
// ln 10 as a double and the rest of it.
constexpr double ln10 = 0x1.26bb1bbb55516p+1;
constexpr double ln10Low = -0x1.f48ad494ea3e9p-53;
constexpr double inverseLn10 = 0x1.bcb7b1526e50ep-2;
// pi / 2 in parts of at most 26 bits, so that k times each is exact up to k of 2^27.
constexpr double halfPi[] = {0x1.921fb50000000p+0, 0x1.110b460000000p-26, 0x1.1a62630000000p-54, 0x1.8a2e030000000p-81,
                             0x1.c1cd129024e09p-107};
constexpr double twoOverPi = 0x1.45f306dc9c883p-1;

// Coefficients of the series, worked out once by the compiler, the same for every build.
struct Series {
    double exp[16];    // 1 / n!
    double atanh[20];  // 1 / (2n + 1)
    double sin[12];    // (-1)^n / (2n + 1)!
    double cos[13];    // (-1)^n / (2n)!
};

constexpr Series seriesCoefficients() {
    Series c{};
    c.exp[0] = 1;
    for (int n = 1; n < 16; ++n) c.exp[n] = c.exp[n - 1] / n;
    for (int n = 0; n < 20; ++n) c.atanh[n] = 1.0 / (2 * n + 1);
    double factorial = 1;
    for (int n = 0; n < 25; ++n) {
        if (n > 0) factorial *= n;
        if (n % 2 == 1 && n / 2 < 12) c.sin[n / 2] = (n / 2 % 2 == 0 ? 1 : -1) / factorial;
        if (n % 2 == 0 && n / 2 < 13) c.cos[n / 2] = (n / 2 % 2 == 0 ? 1 : -1) / factorial;
    }
    return c;
}

constexpr Series series = seriesCoefficients();

// e^r - 1 for |r| <= ln2 / 2, by its Taylor series to r^15 / 15!: the next term is below
// 2^-60 of the result. A smaller r needs fewer terms for the same (to r^5 below 1e-4, to r^8
// below 1e-2), as the narrow segments of dense traces give.
double expm1Reduced(double r) {
    const double size = std::fabs(r);
    const int last = size < 1e-4 ? 5 : size < 1e-2 ? 8 : 15;
    double sum = series.exp[last];
    for (int n = last - 1; n >= 1; --n) sum = series.exp[n] + r * sum;
    return r * sum;
}

// 2 atanh(s) = ln((1 + s) / (1 - s)), by its series in s^2: to s^39 for |s| <= 1/3, to s^25
// for |s| <= 0.1716 (3 - 2 sqrt 2, the most a logarithm's reduced mantissa gives); a smaller s
// needs fewer terms for the same 2^-60 (s^9 below 1e-2, s^5 below 1e-4), as dense traces'
// neighbouring offsets give.
double twiceAtanh(double s, int terms) {
    const double z = s * s;
    if (z < 1e-8) {
        terms = std::min(terms, 3);
    } else if (z < 1e-4) {
        terms = std::min(terms, 5);
    }
    double sum = series.atanh[terms - 1];
    for (int n = terms - 2; n >= 0; --n) sum = series.atanh[n] + z * sum;
    return 2 * s * sum;
}

// Splits a product into its rounded value and the rest, exactly (Dekker).
void twoProduct(double a, double b, double& product, double& rest) {
    auto split = [](double x, double& high, double& low) {
        double t = 134217729.0 * x;  // 2^27 + 1
        high = t - (t - x);
        low = x - high;
    };
    product = a * b;
    double aHigh, aLow, bHigh, bLow;
    split(a, aHigh, aLow);
    split(b, bHigh, bLow);
    rest = ((aHigh * bHigh - product) + aHigh * bLow + aLow * bHigh) + aLow * bLow;
}

// x = k pi/2 + r with |r| <= pi/4 and the quadrant k mod 4.
double reducedQuarter(double x, int& quadrant) {
    double k = std::floor(x * twoOverPi + 0.5);
    double r = x;
    for (double part : halfPi) r -= k * part;
    // k mod 4, exactly as fmod gives it, without its cost while k fits an integer.
    quadrant =
        std::fabs(k) < 0x1p62 ? static_cast<int>(static_cast<long long>(k) % 4) : static_cast<int>(std::fmod(k, 4.0));
    if (quadrant < 0) quadrant += 4;
    return r;
}

// For |r| <= pi/4, to r^23 and r^24: the next terms are below 2^-90.
double sinReduced(double r) {
    const double z = r * r;
    double sum = series.sin[11];
    for (int n = 10; n >= 0; --n) sum = series.sin[n] + z * sum;
    return r * sum;
}

double cosReduced(double r) {
    const double z = r * r;
    double sum = series.cos[12];
    for (int n = 11; n >= 0; --n) sum = series.cos[n] + z * sum;
    return sum;
}

}  // namespace

double exp(double x) {
    if (std::isnan(x)) return x;
    if (x > 709.8) return infinity;
    if (x < -745.2) return 0;
    const double k = std::floor(x * inverseLn2 + 0.5);
    const double r = (x - k * ln2High) - k * ln2Low;
    const double scaled = 1 + expm1Reduced(r);
    // Near the top of the doubles 2^k alone would overflow though the product does not.
    if (k > 1000) return std::ldexp(scaled, static_cast<int>(k) - 2) * 4;
    // While 2^k is a normal double the product by it is exact, as ldexp's is, and cheaper.
    if (k >= -1020) {
        const std::uint64_t bits = static_cast<std::uint64_t>(static_cast<long long>(k) + 1023) << 52;
        double power = 0;
        std::memcpy(&power, &bits, sizeof power);
        return scaled * power;
    }
    return std::ldexp(scaled, static_cast<int>(k));
}

double expm1(double x) {
    if (std::fabs(x) <= 0.34) return expm1Reduced(x);
    if (x < -40) return -1;
    return exp(x) - 1;
}

double log(double x) {
    if (std::isnan(x) || x < 0) return notANumber;
    if (x == 0) return -infinity;
    if (std::isinf(x)) return x;
    int exponent = 0;
    double m = std::frexp(x, &exponent);  // x = m 2^exponent, m in [0.5, 1)
    if (m < 0.70710678118654752440) {
        m *= 2;
        --exponent;
    }
    // ln m = 2 atanh((m - 1) / (m + 1)), and m - 1 is exact.
    const double k = exponent;
    return k * ln2High + (twiceAtanh((m - 1) / (m + 1), 13) + k * ln2Low);
}

double log1p(double x) {
    if (std::isnan(x) || x < -1) return notANumber;
    if (x == -1) return -infinity;
    // ln(1 + x) = 2 atanh(x / (2 + x)), which keeps every digit of a small x.
    if (x >= -0.5 && x <= 1) return twiceAtanh(x / (2 + x), 20);
    const double u = 1 + x;
    // The rounding of 1 + x is taken back to first order.
    return log(u) - ((u - 1) - x) / u;
}

double log10(double x) { return log(x) * inverseLn10; }

double exp10(double x) {
    if (std::isnan(x)) return x;
    if (x > 308.3) return infinity;
    if (x < -323.7) return 0;
    // x ln 10 as a sum t + rest, nearly exact, so that a large x keeps its digits.
    double t, rest;
    twoProduct(x, ln10, t, rest);
    rest += x * ln10Low;
    return exp(t) * (1 + rest);
}

double sin(double x) {
    if (!std::isfinite(x)) return notANumber;
    int quadrant = 0;
    const double r = reducedQuarter(x, quadrant);
    switch (quadrant) {
    case 0: return sinReduced(r);
    case 1: return cosReduced(r);
    case 2: return -sinReduced(r);
    default: return -cosReduced(r);
    }
}

double cos(double x) {
    if (!std::isfinite(x)) return notANumber;
    int quadrant = 0;
    const double r = reducedQuarter(x, quadrant);
    switch (quadrant) {
    case 0: return cosReduced(r);
    case 1: return -sinReduced(r);
    case 2: return -cosReduced(r);
    default: return sinReduced(r);
    }
}

void sinCos(double x, double& sine, double& cosine) {
    if (!std::isfinite(x)) {
        sine = cosine = notANumber;
        return;
    }
    int quadrant = 0;
    const double r = reducedQuarter(x, quadrant);
    const double s = sinReduced(r), c = cosReduced(r);
    switch (quadrant) {
    case 0: sine = s, cosine = c; break;
    case 1: sine = c, cosine = -s; break;
    case 2: sine = -s, cosine = -c; break;
    default: sine = -c, cosine = s;
    }
}

}  // namespace csv2pnp::math
