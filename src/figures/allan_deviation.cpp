#include "figures/allan_deviation.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "figures/noise_figures.h"
#include "figures/power_law.h"
#include "numeric/numeric.h"
#include "numeric/portable_math.h"

namespace csv2pnp {

namespace {

// Where the asymptotic form takes over, in periods 1/tau of the kernel.
constexpr double numericPeriods = 64;
// Below this pi tau f, sin^4 is (pi tau f)^4 to a part in 1e7 (the next term is 2/3 x^2).
constexpr double smallArgument = 3e-4;
// Numeric pieces are at most this part of a period wide, and span at most this ratio.
constexpr double pieceOfPeriod = 1.0 / 8;
constexpr double pieceRatio = 1.2;
// No segment of a real trace needs more pieces than this (one spanning a decade and the
// 64 periods takes some 520, a spur's side some 300); absurd levels or offsets get wider
// pieces rather than a run that never ends.
constexpr double maxPieces = 2000;
// Terms of the asymptotic series, and the most its ratio of terms may be.
constexpr int seriesTerms = 10;
constexpr double seriesRatio = 0.05;

// Gauss-Legendre with 6 nodes on [-1, 1].
constexpr std::array<double, 3> nodes{0.2386191860831969086305017, 0.6612093864662645136613996,
                                      0.9324695142031520278123016};
constexpr std::array<double, 3> weights{0.4679139345726910473898703, 0.3607615730481386075698335,
                                        0.1713244923791703450402961};

// The integral of (f / f1)^e sin^4(pi tau f) over [a, b], with the points of the rule.
double numericPiece(double a, double b, double f1, double e, double tau) {
    const double middle = (a + b) / 2, half = (b - a) / 2;
    double sum = 0;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        for (double sign : {-1.0, 1.0}) {
            const double f = middle + sign * half * nodes[i];
            const double s = math::sin(pi * tau * f);
            sum += weights[i] * math::exp(e * logRatio(f1, f)) * (s * s) * (s * s);
        }
    }
    return sum * half;
}

double numericPart(double a, double b, double f1, double e, double tau) {
    const double period = 1 / tau;
    // On a steep segment (a spur's side) the power law itself bends within a piece: the piece
    // then spans at most a quarter of a neper of it.
    double ratio = std::min(pieceRatio, math::exp(0.25 / std::max(std::fabs(e), 1.0)));
    double width = pieceOfPeriod * period;
    ratio = std::max(ratio, math::exp(logRatio(a, b) / maxPieces));
    width = std::max(width, (b - a) / maxPieces);
    double sum = 0;
    for (double low = a; low < b;) {
        const double high = std::min({b, low + width, low * ratio});
        if (!(high > low)) break;
        sum += numericPiece(low, high, f1, e, tau);
        low = high;
    }
    return sum;
}

// The antiderivative of g(f) cos(kappa f), g = (f / f1)^e, by its asymptotic series:
// sum over n of g^(n)(f) / kappa^(n+1) times sin, cos, -sin, -cos, ... of kappa f, where
// g^(n)(f) = e (e - 1) ... (e - n + 1) f^-n g(f).
double cosineAntiderivative(double f, double f1, double e, double kappa) {
    const double g = math::exp(e * logRatio(f1, f));
    const double s = math::sin(kappa * f), c = math::cos(kappa * f);
    double term = g / kappa, sum = 0;
    for (int n = 0; n < seriesTerms; ++n) {
        const double trig = n % 4 == 0 ? s : n % 4 == 1 ? c : n % 4 == 2 ? -s : -c;
        sum += term * trig;
        term *= (e - n) / (f * kappa);
    }
    return sum;
}

// The integral of (f / f1)^e sin^4(pi tau f) over [a, b], every f at least numericPeriods
// periods out, where the series converge fast; nothing when the slope is too steep for them.
std::optional<double> asymptoticPart(double a, double b, double f1, double e, double tau) {
    const double omega = pi * tau;
    if ((std::fabs(e) + seriesTerms) / (2 * omega * a) > seriesRatio) return std::nullopt;
    const double r = logRatio(a, b);
    const double mean = 3.0 / 8 * a * math::exp(e * logRatio(f1, a)) * r *
                        ((e + 1) * r == 0 ? 1 : math::expm1((e + 1) * r) / ((e + 1) * r));
    auto cosine = [&](double kappa) {
        return cosineAntiderivative(b, f1, e, kappa) - cosineAntiderivative(a, f1, e, kappa);
    };
    return mean - cosine(2 * omega) / 2 + cosine(4 * omega) / 8;
}

// The integral of (f / f1)^e (pi tau f)^4 over [a, b], in closed form: sin^4 far inside the
// kernel's main lobe.
double smallPart(double a, double b, double f1, double e, double tau) {
    const double r = logRatio(a, b), x = (e + 5) * r;
    const double scaled = pi * tau * a;
    return (scaled * scaled) * (scaled * scaled) * math::exp(e * logRatio(f1, a)) * a * r *
           (x == 0 ? 1 : math::expm1(x) / x);
}

double segmentIntegral(double a, double b, double f1, double e, double tau) {
    const double smallUpTo = smallArgument / (pi * tau), switchAt = numericPeriods / tau;
    double sum = 0;
    if (a < smallUpTo) {
        sum += smallPart(a, std::min(b, smallUpTo), f1, e, tau);
        a = std::min(b, smallUpTo);
    }
    if (a < switchAt && a < b) sum += numericPart(a, std::min(b, switchAt), f1, e, tau);
    if (b > switchAt) {
        double low = std::max(a, switchAt);
        std::optional<double> tail = asymptoticPart(low, b, f1, e, tau);
        sum += tail ? *tail : numericPart(low, b, f1, e, tau);
    }
    return sum;
}

}  // namespace

std::vector<double> allanTaus(double firstOffset, double lastOffset) {
    std::vector<double> taus;
    if (!(firstOffset > 0) || !(lastOffset > firstOffset)) return taus;
    int k = static_cast<int>(std::floor(math::log10(10 / lastOffset))) - 1;
    // Offsets read from text are the doubles nearest their digits: a part in 1e12 either way
    // still counts as on the decade.
    constexpr double slack = 1e-12;
    for (; k <= 310; ++k) {
        double tau = powerOfTen(k);
        double rate = powerOfTen(-k);  // 1 / tau
        if (rate < 10 * firstOffset * (1 - slack)) break;
        if (rate <= lastOffset / 10 * (1 + slack)) taus.push_back(tau);
    }
    return taus;
}

double allanDeviation(const std::vector<TracePoint>& points, double carrier, double tau) {
    double variance = 0;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const TracePoint& a = points[i];
        const TracePoint& b = points[i + 1];
        if (!(a.offset < b.offset)) continue;
        const double e = powerLawExponent(a, b);
        // 2 * (2 L) (f / carrier)^2 / (pi tau f)^2 = 4 s1 (f / f1)^e / (pi tau carrier)^2.
        const double scale = 4 * powerRatio(a.level) / ((pi * tau * carrier) * (pi * tau * carrier));
        double part = scale * segmentIntegral(a.offset, b.offset, a.offset, e, tau);
        // Levels or offsets beyond what a double holds: the figure overflows, it is not lost.
        // The integrand is never negative; rounding at such sizes may say otherwise.
        variance += std::isnan(part) ? INFINITY : std::max(part, 0.0);
    }
    return std::sqrt(variance);
}

std::vector<AllanPoint> allanDeviations(const std::vector<TracePoint>& points, double carrier) {
    std::vector<AllanPoint> result;
    if (points.size() < 2 || !(carrier > 0)) return result;
    for (double tau : allanTaus(points.front().offset, points.back().offset)) {
        result.push_back(AllanPoint{tau, allanDeviation(points, carrier, tau)});
    }
    return result;
}

}  // namespace csv2pnp
