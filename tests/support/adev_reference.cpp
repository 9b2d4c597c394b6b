// The Allan deviation of a phase-noise trace, computed straight from its definition:
//
//   sigma_y^2(tau) = 2 * integral of S_y(f) * sin^4(pi tau f) / (pi tau f)^2 df
//
// over the offsets of the trace, with S_y(f) = (f / carrier)^2 * S_phi(f), S_phi(f) = 2 * L(f)
// and L(f) = 10^(level / 10), the level being a straight line in log10(f) and dB between
// neighbouring points. The integral is done by composite Gauss-Legendre quadrature on many short
// pieces, everything in long double. It is slow on purpose: it is only meant to check faster code.
#include "adev_reference.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstddef>
#include <utility>

namespace csv2pnp::test {
namespace {

constexpr long double kPi = 3.141592653589793238462643383279502884L;
constexpr long double kLn10 = 2.302585092994045684017991454684364208L;

// Number of Gauss-Legendre nodes on each piece.
constexpr std::size_t kNodeCount = 8;

// A piece is at most 1/kPiecesPerPeriod of the kernel's period 1/tau wide...
constexpr long double kPiecesPerPeriod = 16.0L;
// ...its right end is at most this many times its left end...
constexpr long double kMaxPieceRatio = 1.05L;
// ...and the level changes by at most this many dB across it (this only matters on steep
// segments, such as the sides of a spur).
constexpr long double kMaxPieceLevelStep = 1.0L;

struct GaussLegendreRule {
    std::array<long double, kNodeCount> nodes{};
    std::array<long double, kNodeCount> weights{};
};

// The Legendre polynomial P_n and its derivative at x, for n = kNodeCount, by the three-term
// recurrence. Not meant for x = +-1, where the formula for the derivative divides by zero.
std::pair<long double, long double> legendre(long double x) {
    long double previous = 1.0L;  // P_(k-2)
    long double current = x;      // P_(k-1)
    for (std::size_t k = 2; k <= kNodeCount; ++k) {
        const long double kk = static_cast<long double>(k);
        const long double next = ((2.0L * kk - 1.0L) * x * current - (kk - 1.0L) * previous) / kk;
        previous = current;
        current = next;
    }
    const long double n = static_cast<long double>(kNodeCount);
    const long double derivative = n * (x * current - previous) / (x * x - 1.0L);
    return {current, derivative};
}

// Nodes and weights of the Gauss-Legendre rule on [-1, 1], found by Newton iteration on P_n,
// starting from the usual cosine estimates of its roots.
GaussLegendreRule makeGaussLegendreRule() {
    GaussLegendreRule rule;
    const long double n = static_cast<long double>(kNodeCount);
    for (std::size_t i = 0; i < kNodeCount; ++i) {
        long double x = std::cos(kPi * (static_cast<long double>(i) + 0.75L) / (n + 0.5L));
        for (int iteration = 0; iteration < 100; ++iteration) {
            const auto [value, derivative] = legendre(x);
            const long double step = value / derivative;
            x -= step;
            if (std::fabs(step) <= 1e-21L) {
                break;
            }
        }
        const long double derivative = legendre(x).second;
        rule.nodes[i] = x;
        rule.weights[i] = 2.0L / ((1.0L - x * x) * derivative * derivative);
    }
    return rule;
}

const GaussLegendreRule& gaussLegendreRule() {
    static const GaussLegendreRule rule = makeGaussLegendreRule();
    return rule;
}

// One straight segment of the trace, from (f1, level1) to (f2, level2), offsets in Hz and
// levels in dBc/Hz.
struct Segment {
    long double f1;
    long double level1;
    long double f2;
    long double level2;
};

// The level in dBc/Hz at offset f inside the segment: a straight line in log10(f).
long double levelAt(const Segment& segment, long double f) {
    return segment.level1 +
           (segment.level2 - segment.level1) * std::log10(f / segment.f1) / std::log10(segment.f2 / segment.f1);
}

// The integrand 2 * S_y(f) * sin^4(pi tau f) / (pi tau f)^2 at offset f.
long double integrand(const Segment& segment, long double f, long double carrierHz, long double tau) {
    // 10^(level / 10), written with exp() as that is much faster than pow() in long double.
    const long double phaseNoise = std::exp(levelAt(segment, f) * kLn10 / 10.0L);  // L(f), 1/Hz
    const long double phaseSpectrum = 2.0L * phaseNoise;                           // S_phi(f), rad^2/Hz
    const long double fractional = f / carrierHz;
    const long double frequencySpectrum = fractional * fractional * phaseSpectrum;  // S_y(f), 1/Hz
    const long double x = kPi * tau * f;
    const long double s = std::sin(x);
    const long double s2 = s * s;
    return 2.0L * frequencySpectrum * s2 * s2 / (x * x);
}

// The integral of the integrand over [a, b] by one Gauss-Legendre rule.
long double integratePiece(const Segment& segment, long double a, long double b, long double carrierHz,
                           long double tau) {
    const GaussLegendreRule& rule = gaussLegendreRule();
    const long double middle = 0.5L * (a + b);
    const long double halfWidth = 0.5L * (b - a);
    long double sum = 0.0L;
    for (std::size_t i = 0; i < kNodeCount; ++i) {
        sum += rule.weights[i] * integrand(segment, middle + halfWidth * rule.nodes[i], carrierHz, tau);
    }
    return halfWidth * sum;
}

// The integral over one segment, cut into pieces that are short against the kernel's period,
// against the offset itself and against the slope of the level.
long double integrateSegment(const Segment& segment, long double carrierHz, long double tau) {
    const long double maxWidth = 1.0L / (kPiecesPerPeriod * tau);
    const long double dBPerDecade = std::fabs(segment.level2 - segment.level1) / std::log10(segment.f2 / segment.f1);
    long double maxRatio = kMaxPieceRatio;
    if (dBPerDecade > 0.0L) {
        maxRatio = std::min(maxRatio, std::pow(10.0L, kMaxPieceLevelStep / dBPerDecade));
    }
    long double sum = 0.0L;
    long double a = segment.f1;
    while (a < segment.f2) {
        long double b = std::min(a + maxWidth, a * maxRatio);
        // Take the rest of the segment in one go rather than leave a sliver behind.
        if (b >= segment.f2 || segment.f2 - b < 1e-6L * (b - a)) {
            b = segment.f2;
        }
        sum += integratePiece(segment, a, b, carrierHz, tau);
        a = b;
    }
    return sum;
}

}  // namespace

long double referenceAllanDeviation(const std::vector<std::pair<double, double>>& points, double carrierHz,
                                    double tauSeconds) {
    long double variance = 0.0L;
    for (std::size_t i = 1; i < points.size(); ++i) {
        const Segment segment{points[i - 1].first, points[i - 1].second, points[i].first, points[i].second};
        variance += integrateSegment(segment, carrierHz, tauSeconds);
    }
    return std::sqrt(variance);
}

}  // namespace csv2pnp::test
