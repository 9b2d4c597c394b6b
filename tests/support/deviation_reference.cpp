// The deviations of a phase-noise trace, straight from their defining integrals (see the header).
//
// On each segment of the trace S_y(f) is a power law, so the integrand is g(f) * sin^2s(x),
// x = pi tau f, with g(f) = 2 S_y(f) / x^p a power law of f as well (s = 2, p = 2 for the Allan
// variance; s = 3, p = 4 for the modified one). Near the origin, where the harmonics of sin^2s cancel
// each other, the integrand is summed by composite Gauss-Legendre quadrature on pieces short against
// the kernel's period 1/tau and against the power law. Far out, sin^2s(x) is written as its
// harmonics, c_0 + sum c_k cos(2 k x): the constant one against g has a closed form, and each
// cosine against g is integrated by parts,
//
//   integral g(f) e^(i w f) df = e^(i w f) g(f) / (i w) * sum_n (-1)^n q (q - 1) ... (q - n + 1) / (i w f)^n,
//
// q being the exponent of g, a series whose terms shrink fast once w f is large against |q|.
// Everything in long double.
#include "deviation_reference.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <complex>
#include <cstddef>

namespace csv2pnp::test {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kLn10 = 2.302585092994045684017991454684364208L;

// Gauss-Legendre nodes on each piece of the quadrature.
constexpr std::size_t kNodes = 10;
// A piece is at most 1/16 of the kernel's period wide, its right end at most 1.05 times its left
// end, and the level changes by at most 1 dB across it (the sides of a spur).
constexpr long double kPiecesPerPeriod = 16.0L;
constexpr long double kMaxPieceRatio = 1.05L;
constexpr long double kMaxPieceStepDb = 1.0L;
// Integration by parts starts where the lowest harmonic's w f is at least this many times |q| + 40:
// then the first 40 terms of the series shrink at least fourfold each.
constexpr long double kSeriesMargin = 4.0L;
constexpr long double kSeriesTerms = 40.0L;

struct Rule {
    std::array<long double, kNodes> x{};
    std::array<long double, kNodes> w{};
};

Rule makeRule() {
    Rule rule;
    const long double n = kNodes;
    for (std::size_t i = 0; i < kNodes; ++i) {
        long double x = std::cos(kPi * (i + 0.75L) / (n + 0.5L));
        long double derivative = 1.0L;
        for (int iteration = 0; iteration < 50; ++iteration) {
            long double p0 = 1.0L;  // P_(k-1) and P_k by Bonnet's recurrence
            long double p1 = x;
            for (std::size_t k = 1; k < kNodes; ++k) {
                const long double next = ((2.0L * k + 1.0L) * x * p1 - k * p0) / (k + 1.0L);
                p0 = p1;
                p1 = next;
            }
            derivative = n * (p0 - x * p1) / (1.0L - x * x);
            const long double step = p1 / derivative;
            x -= step;
            if (std::fabs(step) < 1e-20L) {
                break;
            }
        }
        rule.x[i] = x;
        rule.w[i] = 2.0L / ((1.0L - x * x) * derivative * derivative);
    }
    return rule;
}

const Rule& rule() {
    static const Rule instance = makeRule();
    return instance;
}

// sin^(2 sinSquares)(x) / x^xPower, and the same sin power as c_0 + sum c_k cos(2 k x).
struct Kernel {
    int sinSquares;
    int xPower;
    std::array<long double, 4> harmonics;
};
constexpr Kernel kAllan{2, 2, {3.0L / 8, -4.0L / 8, 1.0L / 8, 0.0L}};
constexpr Kernel kModified{3, 4, {10.0L / 32, -15.0L / 32, 6.0L / 32, -1.0L / 32}};

struct Setting {
    Kernel kernel;
    long double carrier;
    long double tau;
};

// One segment of the trace: the level is a straight line in log10(f) from (f1, level1).
struct Segment {
    long double f1;
    long double f2;
    long double level1;
    long double dBPerDecade;

    long double level(long double f) const { return level1 + dBPerDecade * std::log10(f / f1); }
    // 2 S_y(f) / (pi tau f)^p, a power law of f with exponent q().
    long double smooth(long double f, const Setting& s) const {
        const long double fractional = f / s.carrier;
        const long double frequencySpectrum = fractional * fractional * 2.0L * std::exp(level(f) * kLn10 / 10.0L);
        return 2.0L * frequencySpectrum / std::pow(kPi * s.tau * f, static_cast<long double>(s.kernel.xPower));
    }
    long double q(const Setting& s) const { return 2.0L + dBPerDecade / 10.0L - s.kernel.xPower; }
};

long double integrand(const Segment& segment, long double f, const Setting& s) {
    const long double sine = std::sin(kPi * s.tau * f);
    long double power = 1.0L;
    for (int i = 0; i < s.kernel.sinSquares; ++i) {
        power *= sine * sine;
    }
    return segment.smooth(f, s) * power;
}

long double quadrature(const Segment& segment, long double a, long double end, const Setting& s) {
    const long double maxWidth = 1.0L / (kPiecesPerPeriod * s.tau);
    long double maxRatio = kMaxPieceRatio;
    if (segment.dBPerDecade != 0.0L) {
        maxRatio = std::min(maxRatio, std::pow(10.0L, kMaxPieceStepDb / std::fabs(segment.dBPerDecade)));
    }
    long double sum = 0.0L;
    while (a < end) {
        long double b = std::min(a + maxWidth, a * maxRatio);
        if (b >= end || end - b < 1e-6L * (b - a)) {
            b = end;  // no sliver left behind
        }
        const long double middle = 0.5L * (a + b);
        const long double half = 0.5L * (b - a);
        long double piece = 0.0L;
        for (std::size_t i = 0; i < kNodes; ++i) {
            piece += rule().w[i] * integrand(segment, middle + half * rule().x[i], s);
        }
        sum += half * piece;
        a = b;
    }
    return sum;
}

// The antiderivative of g(f) cos(w f), from the series by parts.
long double oscillatingAntiderivative(const Segment& segment, long double f, long double w, const Setting& s) {
    const long double q = segment.q(s);
    const std::complex<long double> iwf(0.0L, w * f);
    std::complex<long double> term = 1.0L;
    std::complex<long double> sum = 1.0L;
    for (int n = 1; n < 100 && std::abs(term) > 1e-22L * std::abs(sum); ++n) {
        term *= -(q - (n - 1)) / iwf;
        sum += term;
    }
    const std::complex<long double> phase = std::polar(1.0L, w * f);
    return std::real(phase * segment.smooth(f, s) / std::complex<long double>(0.0L, w) * sum);
}

long double byParts(const Segment& segment, long double a, long double b, const Setting& s) {
    // The constant harmonic: integral of g(a) (f / a)^q from a to b.
    const long double logRatio = std::log(b / a);
    const long double z = (segment.q(s) + 1.0L) * logRatio;
    const long double growth = z == 0.0L ? logRatio : logRatio * std::expm1(z) / z;
    long double sum = s.kernel.harmonics[0] * segment.smooth(a, s) * a * growth;
    for (std::size_t k = 1; k < s.kernel.harmonics.size(); ++k) {
        const long double w = 2.0L * kPi * s.tau * k;
        sum += s.kernel.harmonics[k] *
               (oscillatingAntiderivative(segment, b, w, s) - oscillatingAntiderivative(segment, a, w, s));
    }
    return sum;
}

long double integral(const ReferenceTrace& points, double carrierHz, double tauSeconds, double quadraturePeriods,
                     const Kernel& kernel) {
    const Setting s{kernel, carrierHz, tauSeconds};
    long double sum = 0.0L;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const long double f1 = points[i - 1].first;
        const long double f2 = points[i].first;
        if (!(f2 > f1)) {
            continue;
        }
        const Segment segment{f1, f2, points[i - 1].second,
                              (points[i].second - points[i - 1].second) / std::log10(f2 / f1)};
        const long double seriesFrom = kSeriesMargin * (std::fabs(segment.q(s)) + kSeriesTerms) / (2.0L * kPi * s.tau);
        const long double cut = std::max(static_cast<long double>(quadraturePeriods) / s.tau, seriesFrom);
        if (f1 < cut) {
            sum += quadrature(segment, f1, std::min(f2, cut), s);
        }
        if (f2 > cut) {
            sum += byParts(segment, std::max(f1, cut), f2, s);
        }
    }
    return sum;
}

}  // namespace

long double referenceAllanVariance(const ReferenceTrace& points, double carrierHz, double tauSeconds,
                                   double quadraturePeriods) {
    return integral(points, carrierHz, tauSeconds, quadraturePeriods, kAllan);
}

long double referenceModifiedAllanVariance(const ReferenceTrace& points, double carrierHz, double tauSeconds,
                                           double quadraturePeriods) {
    return integral(points, carrierHz, tauSeconds, quadraturePeriods, kModified);
}

long double referenceModifiedAllanDeviation(const ReferenceTrace& points, double carrierHz, double tauSeconds,
                                            double quadraturePeriods) {
    return std::sqrt(referenceModifiedAllanVariance(points, carrierHz, tauSeconds, quadraturePeriods));
}

long double referenceTimeDeviation(const ReferenceTrace& points, double carrierHz, double tauSeconds,
                                   double quadraturePeriods) {
    return tauSeconds / std::sqrt(3.0L) *
           referenceModifiedAllanDeviation(points, carrierHz, tauSeconds, quadraturePeriods);
}

}  // namespace csv2pnp::test
