#include "figures/kernel_integral.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <optional>

#include "figures/noise_figures.h"
#include "numeric/numeric.h"
#include "numeric/portable_math.h"

namespace csv2pnp {

namespace {

// sin^n(x) = c_0 + sum over k >= 1 of c_k cos(2 k x).
struct Kernel {
    int n;
    double power;  // of f, multiplying L
    std::array<double, 4> harmonics;
};
constexpr Kernel sine4Kernel{4, 0, {3.0 / 8, -1.0 / 2, 1.0 / 8, 0}};
constexpr Kernel sine6Kernel{6, -2, {5.0 / 16, -15.0 / 32, 3.0 / 16, -1.0 / 32}};

double sinePower(double s, int n) {
    const double square = s * s;
    return n == 4 ? square * square : square * square * square;
}

// The trapezoid with its end corrections is exact to (step)^4 / 720 of a segment when the
// segment is this short against the kernel's period and the power law's bend.
constexpr double trapezoidStep = 0.02;
// Modelling the power law on a segment by the exponential in f through its ends misses it by
// at most e (h / a)^2 / 8 of it: this bounds that to 1e-9.
constexpr double bend = 8e-9;
// The harmonics are taken one by one only past the first radian of the kernel, where their sum
// does not cancel to the small power of omega f that sin^n is there.
constexpr double harmonicsFrom = 1;
// sin and cos at the points are carried from one point to the next by a rotation while the step
// is at most this many radians, and worked afresh every so many points.
constexpr double rotationStep = 0.1;
constexpr int freshEvery = 64;

// Where the asymptotic form takes over, in periods of the kernel.
constexpr double numericPeriods = 64;
// Below this omega f, sin^n is (omega f)^n to a part in 1e7 (the next term is n/6 (omega f)^2).
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

// G(f) = ga (f / a)^e on [a, b], the part of the integrand besides the sine; gb = G(b),
// r = ln(b / a).
struct Segment {
    double a, b, ga, gb, e, r;
    double inverseA, inverseB;  // 1 / a, 1 / b
};

const double ln10 = math::log(10.0);

double valueAt(const Segment& s, double f) { return s.ga * math::exp(s.e * logRatio(s.a, f)); }

double relativeExpm1(double x) { return x == 0 ? 1 : math::expm1(x) / x; }

// The integral of G(f) (omega f)^k over [low, high], in closed form.
double powerIntegral(const Segment& s, double low, double high, double omega = 1, int k = 0) {
    const double r = logRatio(low, high), scaled = omega * low;
    double power = 1;
    for (int i = 0; i < k; ++i) power *= scaled;
    return power * valueAt(s, low) * low * r * relativeExpm1((s.e + k + 1) * r);
}

// The integral of G(f) sin^n(omega f) over [low, high], with the points of the rule.
double numericPiece(const Segment& s, double low, double high, double omega, int n) {
    const double middle = (low + high) / 2, half = (high - low) / 2;
    double sum = 0;
    for (std::size_t i = 0; i < nodes.size(); ++i) {
        for (double sign : {-1.0, 1.0}) {
            const double f = middle + sign * half * nodes[i];
            sum += weights[i] * valueAt(s, f) * sinePower(math::sin(omega * f), n);
        }
    }
    return sum * half;
}

double numericPart(const Segment& s, double low, double high, double omega, int n) {
    const double period = pi / omega;
    // On a steep segment (a spur's side) the power law itself bends within a piece: the piece
    // then spans at most a quarter of a neper of it.
    double ratio = std::min(pieceRatio, math::exp(0.25 / std::max(std::fabs(s.e), 1.0)));
    double width = pieceOfPeriod * period;
    ratio = std::max(ratio, math::exp(logRatio(low, high) / maxPieces));
    width = std::max(width, (high - low) / maxPieces);
    double sum = 0;
    for (double from = low; from < high;) {
        const double to = std::min({high, from + width, from * ratio});
        if (!(to > from)) break;
        sum += numericPiece(s, from, to, omega, n);
        from = to;
    }
    return sum;
}

// The antiderivative of G(f) cos(kappa f) by its asymptotic series: the sum over j of
// G^(j)(f) / kappa^(j+1) times sin, cos, -sin, -cos, ... of kappa f, where
// G^(j)(f) = e (e - 1) ... (e - j + 1) f^-j G(f).
double cosineAntiderivative(const Segment& s, double f, double kappa) {
    double sine, cosine;
    math::sinCos(kappa * f, sine, cosine);
    double term = valueAt(s, f) / kappa, sum = 0;
    for (int j = 0; j < seriesTerms; ++j) {
        const double trig = j % 4 == 0 ? sine : j % 4 == 1 ? cosine : j % 4 == 2 ? -sine : -cosine;
        sum += term * trig;
        term *= (s.e - j) / (f * kappa);
    }
    return sum;
}

// The integral of G(f) sin^n(omega f) over [low, high], every f at least numericPeriods
// periods out, where the series converge fast; nothing when the slope is too steep for them.
std::optional<double> asymptoticPart(const Segment& s, double low, double high, double omega, const Kernel& kernel) {
    if ((std::fabs(s.e) + seriesTerms) / (2 * omega * low) > seriesRatio) return std::nullopt;
    double sum = kernel.harmonics[0] * powerIntegral(s, low, high);
    for (int k = 1; k <= kernel.n / 2; ++k) {
        const double kappa = 2 * k * omega;
        sum += kernel.harmonics[static_cast<std::size_t>(k)] *
               (cosineAntiderivative(s, high, kappa) - cosineAntiderivative(s, low, kappa));
    }
    return sum;
}

// The integral of G(f) sin^n(omega f) over the segment, however wide and steep.
double exactIntegral(const Segment& s, double omega, const Kernel& kernel) {
    const double smallUpTo = smallArgument / omega, switchAt = numericPeriods * pi / omega;
    double a = s.a, sum = 0;
    if (a < smallUpTo) {
        sum += powerIntegral(s, a, std::min(s.b, smallUpTo), omega, kernel.n);
        a = std::min(s.b, smallUpTo);
    }
    if (a < switchAt && a < s.b) sum += numericPart(s, a, std::min(s.b, switchAt), omega, kernel.n);
    if (s.b > switchAt) {
        const double low = std::max(a, switchAt);
        std::optional<double> tail = asymptoticPart(s, low, s.b, omega, kernel);
        sum += tail ? *tail : numericPart(s, low, s.b, omega, kernel.n);
    }
    return sum;
}

// sin and cos of omega f at a point.
struct Phase {
    double sine = 0, cosine = 1;
};

// At a point, for the trapezoid: F = G sin^n(omega f) and the part of F' that does not depend
// on the segment's slope, G n omega sin^(n-1) cos; F' = e F / f + that.
struct PointValues {
    double value = 0, turn = 0;
};

PointValues pointValues(double g, const Phase& p, double omega, int n) {
    const double square = p.sine * p.sine;
    const double lower = n == 4 ? square * p.sine : square * square * p.sine;  // sin^(n-1)
    return {g * lower * p.sine, g * n * omega * lower * p.cosine};
}

// The integral by the trapezoid and the first end correction of Euler-Maclaurin,
// h/2 (F_a + F_b) - h^2/12 (F'_b - F'_a).
double trapezoid(const Segment& s, const PointValues& at, const PointValues& bt) {
    const double h = s.b - s.a;
    const double slopeA = s.e * at.value * s.inverseA + at.turn, slopeB = s.e * bt.value * s.inverseB + bt.turn;
    return h * 0.5 * (at.value + bt.value) - h * h * (1.0 / 12) * (slopeB - slopeA);
}

struct Complex {
    double re, im;
};
Complex operator*(Complex x, Complex y) { return {x.re * y.re - x.im * y.im, x.re * y.im + x.im * y.re}; }
Complex operator-(Complex x, Complex y) { return {x.re - y.re, x.im - y.im}; }
Complex scaled(double k, Complex x) { return {k * x.re, k * x.im}; }

// The integral by the harmonics of sin^n: the mean in closed form, and each cosine against
// G modelled as the exponential through both ends, e^(beta f): the integral of
// G e^(i kappa f) is then (P_b - P_a) / z, z = beta + i kappa, P = G e^(i kappa f).
double harmonics(const Segment& s, double mean, const Phase& at, const Phase& bt, double omega, const Kernel& kernel) {
    const double h = s.b - s.a, beta = s.e * s.r / h;
    const Complex twiceA{1 - 2 * at.sine * at.sine, 2 * at.sine * at.cosine};
    const Complex twiceB{1 - 2 * bt.sine * bt.sine, 2 * bt.sine * bt.cosine};
    Complex ea = twiceA, eb = twiceB;
    double sum = kernel.harmonics[0] * mean;
    for (int k = 1; k <= kernel.n / 2; ++k) {
        const double kappa = 2 * k * omega, size = beta * beta + kappa * kappa;
        const Complex w{beta / size, -kappa / size};  // 1 / z
        const Complex change = scaled(s.gb, eb) - scaled(s.ga, ea);
        sum += kernel.harmonics[static_cast<std::size_t>(k)] * (change * w).re;
        ea = ea * twiceA;
        eb = eb * twiceB;
    }
    return sum;
}

enum class Way { trapezoid, harmonics, exact };

// The ways that suit a segment as omega grows: the trapezoid up to one omega, the harmonics
// from another on, the exact way between and where neither suits at all.
struct Ways {
    double trapezoidUpTo = -1, harmonicsFrom = INFINITY;
    Way at(double omega) const {
        return omega <= trapezoidUpTo ? Way::trapezoid : omega >= harmonicsFrom ? Way::harmonics : Way::exact;
    }
};

Ways waysFor(const Segment& s, int n) {
    const double h = s.b - s.a, q = h * s.inverseA, e = std::fabs(s.e);
    Ways ways;
    if (q * (e + n) <= trapezoidStep) ways.trapezoidUpTo = trapezoidStep / (n * h);
    if (e * q * q <= bend) ways.harmonicsFrom = harmonicsFrom * s.inverseA;
    return ways;
}

// sin(d) and cos(d) for |d| <= rotationStep by their series, to below 1e-18.
Phase rotated(const Phase& p, double d) {
    const double d2 = d * d;
    const double sine =
        d * (1 - d2 * (1.0 / 6) * (1 - d2 * (1.0 / 20) * (1 - d2 * (1.0 / 42) * (1 - d2 * (1.0 / 72)))));
    const double cosine =
        1 - d2 * 0.5 * (1 - d2 * (1.0 / 12) * (1 - d2 * (1.0 / 30) * (1 - d2 * (1.0 / 56) * (1 - d2 * (1.0 / 90)))));
    return {p.sine * cosine + p.cosine * sine, p.cosine * cosine - p.sine * sine};
}

Phase phaseAt(double x) {
    Phase p;
    math::sinCos(x, p.sine, p.cosine);
    return p;
}

// A sum of non-negative parts in a compensated order (Neumaier); a part beyond a double's
// range, or one that rounding made NaN at such sizes, makes it infinite.
struct Sum {
    double value = 0, compensation = 0;
    void add(double part) {
        if (!(part >= 0)) part = std::isnan(part) ? INFINITY : 0;
        const double total = value + part;
        compensation += value >= part ? (value - total) + part : (part - total) + value;
        value = total;
    }
    double result() const { return std::isfinite(value) ? value + compensation : INFINITY; }
};

// What is known at the point a segment starts from, for one omega: its phase, how many
// rotations ago that was worked afresh, and each kernel's values there.
struct PointState {
    bool known = false;
    Phase phase;
    int rotations = 0;
    std::array<PointValues, 2> values;
};

}  // namespace

KernelIntegrals kernelIntegrals(const std::vector<TracePoint>& points, const std::vector<double>& omegas, bool sine4,
                                bool sine6) {
    std::vector<const Kernel*> kernels;
    if (sine4) kernels.push_back(&sine4Kernel);
    if (sine6) kernels.push_back(&sine6Kernel);
    const std::size_t count = omegas.size(), kernelCount = kernels.size();
    std::vector<Sum> sums(kernelCount * count);
    std::vector<PointState> states(count);
    double levelA = points.empty() ? 0 : powerRatio(points.front().level);
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const TracePoint& a = points[i];
        const TracePoint& b = points[i + 1];
        const double levelB = powerRatio(b.level);
        if (!(a.offset < b.offset)) {
            for (PointState& state : states) state.known = false;
            levelA = levelB;
            continue;
        }
        // The power law through both points, as powerLawExponent has it.
        const double r = logRatio(a.offset, b.offset), e = (b.level - a.level) * ln10 / (10 * r);
        const double inverseA = 1 / a.offset, inverseB = 1 / b.offset;
        std::array<Segment, 2> segments{};
        std::array<Ways, 2> ways;
        std::array<double, 2> means{NAN, NAN};
        for (std::size_t k = 0; k < kernelCount; ++k) {
            segments[k] =
                kernels[k]->power == 0
                    ? Segment{a.offset, b.offset, levelA, levelB, e, r, inverseA, inverseB}
                    : Segment{a.offset, b.offset, levelA * inverseA * inverseA, levelB * inverseB * inverseB, e - 2, r,
                              inverseA, inverseB};
            ways[k] = waysFor(segments[k], kernels[k]->n);
        }
        for (std::size_t t = 0; t < count; ++t) {
            const double omega = omegas[t];
            std::array<Way, 2> way{Way::exact, Way::exact};
            bool phased = false;
            for (std::size_t k = 0; k < kernelCount; ++k) {
                way[k] = ways[k].at(omega);
                phased = phased || way[k] != Way::exact;
            }
            PointState& state = states[t];
            if (!phased) {
                state.known = false;
                for (std::size_t k = 0; k < kernelCount; ++k) {
                    sums[k * count + t].add(exactIntegral(segments[k], omega, *kernels[k]));
                }
                continue;
            }
            if (!state.known) {
                state.known = true;
                state.phase = phaseAt(omega * a.offset);
                state.rotations = 0;
                for (std::size_t k = 0; k < kernelCount; ++k) {
                    state.values[k] = pointValues(segments[k].ga, state.phase, omega, kernels[k]->n);
                }
            }
            const PointState start = state;
            const double step = omega * (b.offset - a.offset);
            if (step <= rotationStep && state.rotations < freshEvery) {
                state.phase = rotated(start.phase, step);
                ++state.rotations;
            } else {
                state.phase = phaseAt(omega * b.offset);
                state.rotations = 0;
            }
            for (std::size_t k = 0; k < kernelCount; ++k) {
                const Segment& s = segments[k];
                const Kernel& kernel = *kernels[k];
                state.values[k] = pointValues(s.gb, state.phase, omega, kernel.n);
                double part = 0;
                if (way[k] == Way::trapezoid) {
                    part = trapezoid(s, start.values[k], state.values[k]);
                } else if (way[k] == Way::harmonics) {
                    if (std::isnan(means[k])) means[k] = s.ga * s.a * r * relativeExpm1((s.e + 1) * r);
                    part = harmonics(s, means[k], start.phase, state.phase, omega, kernel);
                } else {
                    part = exactIntegral(s, omega, kernel);
                }
                sums[k * count + t].add(part);
            }
        }
        levelA = levelB;
    }
    KernelIntegrals result;
    for (std::size_t k = 0; k < kernelCount; ++k) {
        std::vector<double>& into = kernels[k] == &sine4Kernel ? result.sine4 : result.sine6;
        for (std::size_t t = 0; t < count; ++t) into.push_back(sums[k * count + t].result());
    }
    return result;
}

}  // namespace csv2pnp
