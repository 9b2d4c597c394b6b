// The deviations of power-law noise in closed form.
//
// With x = pi tau f and X = pi tau f_h, both variances of S_y(f) = h f^alpha are
//
//   2 h / (pi tau)^(alpha + 1) * integral from 0 to X of sin^2s(x) x^(alpha - p) dx
//
// (s = 2, p = 2 for the Allan variance; s = 3, p = 4 for the modified one). For the
// frequency-modulation terms the integral runs to infinity and is a known constant. For the
// phase-modulation ones, sin^2s(x) = sum w_k (1 - cos(2 k x)) turns it into integrals of
// (1 - cos(a x)) / x^m, m = 0 to 3, which the sine and cosine integrals Si and Ci give.
#include "power_law_deviations.h"

#include <array>
#include <cmath>
#include <complex>
#include <cstddef>
#include <limits>

namespace csv2pnp::test {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kEulerGamma = 0.577215664901532860606512090082402431L;
constexpr long double kLn2 = 0.693147180559945309417232121458176568L;
constexpr long double kLn3 = 1.098612288668109691395245236922525704L;

struct SineAndCosineIntegrals {
    long double si;
    long double ci;
};

// Si(x) and Ci(x) for x > 0: their power series up to 2, past it the continued fraction of
// E1(i x) = -Ci(x) + i (Si(x) - pi / 2), evaluated by Lentz's method.
SineAndCosineIntegrals sineAndCosineIntegrals(long double x) {
    if (x <= 2.0L) {
        long double si = 0.0L;
        long double ci = kEulerGamma + std::log(x);
        long double power = 1.0L;  // x^j / j!
        for (int j = 1; j < 60; ++j) {
            power *= x / j;
            const long double sign = (j / 2) % 2 == 0 ? 1.0L : -1.0L;
            (j % 2 == 1 ? si : ci) += sign * power / j;
        }
        return {si, ci};
    }
    using Complex = std::complex<long double>;
    Complex b(1.0L, x);
    Complex c = 1e4000L;
    Complex d = 1.0L / b;
    Complex h = d;
    for (int i = 1; i < 100000; ++i) {
        const long double a = -static_cast<long double>(i) * i;
        b += 2.0L;
        d = 1.0L / (a * d + b);
        c = b + a / c;
        const Complex step = c * d;
        h *= step;
        if (std::abs(step - 1.0L) < 1e-20L) {
            break;
        }
    }
    h *= std::polar(1.0L, -x);
    return {kPi / 2.0L + h.imag(), -h.real()};
}

// The integral from 0 to X of (1 - cos(a x)) / x^m; for m = 3 less a^2 / (2 x), which the sums
// below leave out as their sum w_k a_k^2 is zero.
long double cosineTermIntegral(int m, long double a, long double X) {
    const long double y = a * X;
    switch (m) {
    case 0: return X - std::sin(y) / a;
    case 1: return kEulerGamma + std::log(y) - sineAndCosineIntegrals(y).ci;
    case 2: return a * sineAndCosineIntegrals(y).si - (1.0L - std::cos(y)) / X;
    default:
        return a * a *
               (0.75L - (1.0L - std::cos(y)) / (2.0L * y * y) - std::sin(y) / (2.0L * y) +
                (sineAndCosineIntegrals(y).ci - kEulerGamma - std::log(y)) / 2.0L);
    }
}

// The integral from 0 to X of sin^2s(x) / x^m: sin^4 = (4 (1 - cos 2x) - (1 - cos 4x)) / 8,
// sin^6 = (15 (1 - cos 2x) - 6 (1 - cos 4x) + (1 - cos 6x)) / 32.
long double sinePowerIntegral(int s, int m, long double X) {
    const std::array<long double, 3> weights = s == 2 ? std::array<long double, 3>{4.0L / 8, -1.0L / 8, 0.0L}
                                                      : std::array<long double, 3>{15.0L / 32, -6.0L / 32, 1.0L / 32};
    long double sum = 0.0L;
    for (std::size_t k = 0; k < weights.size(); ++k) {
        if (weights[k] != 0.0L) {
            sum += weights[k] * cosineTermIntegral(m, 2.0L * (k + 1), X);
        }
    }
    return sum;
}

// The integral from 0 to infinity of sin^2s(x) x^(alpha - p) for the frequency-modulation terms.
long double infiniteIntegral(bool modified, int alpha) {
    if (!modified) {
        return alpha == 0 ? kPi / 4.0L : alpha == -1 ? kLn2 : kPi / 3.0L;
    }
    return alpha == 0 ? kPi / 8.0L : alpha == -1 ? (27.0L * kLn3 - 32.0L * kLn2) / 16.0L : 11.0L * kPi / 40.0L;
}

long double exactVariance(bool modified, PowerLawNoise noise, long double h, long double tau, long double fh) {
    const int alpha = powerLawAlpha(noise);
    const long double integral = alpha > 0
                                     ? sinePowerIntegral(modified ? 3 : 2, (modified ? 4 : 2) - alpha, kPi * tau * fh)
                                     : infiniteIntegral(modified, alpha);
    return 2.0L * h / std::pow(kPi * tau, static_cast<long double>(alpha + 1)) * integral;
}

}  // namespace

int powerLawAlpha(PowerLawNoise noise) {
    switch (noise) {
    case PowerLawNoise::WhitePm: return 2;
    case PowerLawNoise::FlickerPm: return 1;
    case PowerLawNoise::WhiteFm: return 0;
    case PowerLawNoise::FlickerFm: return -1;
    case PowerLawNoise::RandomWalkFm: return -2;
    }
    return 0;
}

int alphaOfPhaseNoiseTerm(int i) { return 2 - i; }

long double hOfPhaseNoiseTerm(long double b, long double carrierHz) { return 2.0L * b / (carrierHz * carrierHz); }

long double publishedAllanVariance(PowerLawNoise noise, long double h, long double tau, long double fh) {
    switch (noise) {
    case PowerLawNoise::WhitePm: return 3.0L * fh * h / (4.0L * kPi * kPi * tau * tau);
    case PowerLawNoise::FlickerPm:
        return (1.038L + 3.0L * std::log(2.0L * kPi * fh * tau)) * h / (4.0L * kPi * kPi * tau * tau);
    case PowerLawNoise::WhiteFm: return h / (2.0L * tau);
    case PowerLawNoise::FlickerFm: return 2.0L * kLn2 * h;
    case PowerLawNoise::RandomWalkFm: return 2.0L * kPi * kPi / 3.0L * tau * h;
    }
    return 0.0L;
}

long double exactAllanVariance(PowerLawNoise noise, long double h, long double tau, long double fh) {
    return exactVariance(false, noise, h, tau, fh);
}

long double exactModifiedAllanVariance(PowerLawNoise noise, long double h, long double tau, long double fh) {
    return exactVariance(true, noise, h, tau, fh);
}

long double modifiedToAllanRatio(PowerLawNoise noise) {
    const int alpha = powerLawAlpha(noise);
    if (alpha > 0) {
        return std::numeric_limits<long double>::quiet_NaN();
    }
    return infiniteIntegral(true, alpha) / infiniteIntegral(false, alpha);
}

double publishedModifiedToAllanRatio(PowerLawNoise noise) {
    switch (noise) {
    case PowerLawNoise::WhiteFm: return 0.50;
    case PowerLawNoise::FlickerFm: return 0.67;
    case PowerLawNoise::RandomWalkFm: return 0.82;
    default: return std::numeric_limits<double>::quiet_NaN();
    }
}

ReferenceTrace powerLawTrace(double levelAt1Hz, int i, double firstHz, double lastHz) {
    const auto level = [&](double f) { return levelAt1Hz - 10.0 * i * std::log10(f); };
    ReferenceTrace trace{{firstHz, level(firstHz)}};
    for (int k = static_cast<int>(std::floor(std::log10(firstHz))) + 1; std::pow(10.0, k) < lastHz; ++k) {
        if (std::pow(10.0, k) > firstHz) {
            trace.emplace_back(std::pow(10.0, k), -10.0 * i * k + levelAt1Hz);
        }
    }
    trace.emplace_back(lastHz, level(lastHz));
    return trace;
}

}  // namespace csv2pnp::test
