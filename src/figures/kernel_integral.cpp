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

// A segment is taken by the moments of its power law when it is this short against the
// kernel's period and in ln f, n omega h <= step and n ln(b / a) <= step: the cubic through the
// kernel's values and slopes at its ends is then off by at most step^4 / 384 of the kernel.
constexpr double shortStep = 0.02;
// Past the first radian of the kernel the harmonics are taken one by one (there their sum does
// not cancel to the small power of omega f that sin^n is), against the power law written as the
// exponential in f through both ends times a polynomial for its bend, on a segment short enough
// in ln f that the bend's terms left out, about |e| q^4 / 8 and (|e| q^2)^3 / 3000 with
// q = h / a, stay below 1e-9 of it.
constexpr double harmonicsFrom = 1;
constexpr double largestBend = 1e-3;         // |e| q^2
constexpr double largestBendQuartic = 4e-9;  // |e| q^4
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

// The kernel at a point: K = sin^n(omega f) and its slope in ln f, f dK/df.
struct KernelAt {
    double value = 0, slope = 0;
};

KernelAt kernelAt(const Phase& p, double omegaF, int n) {
    const double square = p.sine * p.sine;
    const double lower = n == 4 ? square * p.sine : square * square * p.sine;  // sin^(n-1)
    return {lower * p.sine, n * omegaF * lower * p.cosine};
}

// On a segment G(f) f is exponential in u = ln(f / a) / r, u from 0 to 1, with exponent
// gamma = (e + 1) r: taken from the end where it is the larger, so that it never overflows
// where the integral does not, it is scale / r times e^(g v), g = -|gamma| <= 0, v the distance
// in u from that end. The moments E_j = integral over [0, 1] of v^j e^(g v) dv, j = 0 to 3,
// are the closed forms the ways below integrate with.
struct Growth {
    double gamma;
    double scale;  // r G(f) f at the larger end
    std::array<double, 4> moments;
};

Growth growthOf(const Segment& s) {
    Growth growth{(s.e + 1) * s.r, 0, {}};
    const double g = -std::fabs(growth.gamma), atA = s.ga * s.a, atB = s.gb * s.b;
    const double larger = growth.gamma <= 0 ? atA : atB, smaller = growth.gamma <= 0 ? atB : atA;
    growth.scale = s.r * larger;
    // e^g is the ratio of the ends, but for levels beyond a double's range.
    const double ratio = smaller / larger;
    const double eg = ratio > 0 && ratio <= 1 ? ratio : math::exp(g);
    std::array<double, 4>& m = growth.moments;
    if (g >= -1) {
        // E_3 by its series, the sum of g^k / (k! (k + 4)), to below 1e-17 in 18 terms (in 12
        // for |g| <= 1/4, in 7 for |g| <= 1/64); the others downwards,
        // E_(j-1) = (e^g - g E_j) / j, each step shrinking an error.
        static const std::array<double, 18> series = [] {
            std::array<double, 18> c{};
            double factorial = 1;
            for (std::size_t k = 0; k < c.size(); ++k) {
                if (k > 0) factorial *= static_cast<double>(k);
                c[k] = 1 / (factorial * static_cast<double>(k + 4));
            }
            return c;
        }();
        double sum = 0;
        const std::size_t terms = g >= -1.0 / 64 ? 7 : g >= -0.25 ? 12 : series.size();
        for (std::size_t k = terms; k-- > 0;) sum = sum * g + series[k];
        m[3] = sum;
        for (std::size_t j = 3; j > 0; --j) m[j - 1] = (eg - g * m[j]) / static_cast<double>(j);
    } else {
        // Upwards, E_j = (e^g - j E_(j-1)) / g, each step growing an error at most j / |g| < 3 times.
        m[0] = (eg - 1) / g;
        for (std::size_t j = 1; j < 4; ++j) m[j] = (eg - static_cast<double>(j) * m[j - 1]) / g;
    }
    return growth;
}

// The integral of G K over a segment short against the kernel, as weights of K and of its slope
// in ln f at either end: K is taken as the cubic in u through its values and slopes at the
// ends, and the cubic's four parts are integrated against the exponential in closed form.
struct HermiteWeights {
    double valueA = 0, slopeA = 0, valueB = 0, slopeB = 0;
};

HermiteWeights hermiteWeights(const Segment& s, const Growth& growth) {
    const std::array<double, 4>& m = growth.moments;
    const double start = m[0] - 3 * m[2] + 2 * m[3], startSlope = m[1] - 2 * m[2] + m[3];
    const double end = 3 * m[2] - 2 * m[3], endSlope = m[3] - m[2];
    const double scale = growth.scale, r = s.r;
    if (growth.gamma <= 0) return {scale * start, scale * r * startSlope, scale * end, scale * r * endSlope};
    // From b down to a: the slope in the falling variable is the negative.
    return {scale * end, -scale * r * endSlope, scale * start, -scale * r * startSlope};
}

double hermite(const HermiteWeights& w, const KernelAt& at, const KernelAt& bt) {
    return w.valueA * at.value + w.slopeA * at.slope + w.valueB * bt.value + w.slopeB * bt.slope;
}

struct Complex {
    double re, im;
};
Complex operator*(Complex x, Complex y) { return {x.re * y.re - x.im * y.im, x.re * y.im + x.im * y.re}; }
Complex operator-(Complex x, Complex y) { return {x.re - y.re, x.im - y.im}; }
Complex scaled(double k, Complex x) { return {k * x.re, k * x.im}; }

// For the harmonics, with t = (f - a) / h and q = h / a: G = G(a) e^(beta t + rho(t)),
// beta = e r, where rho(t) = e (ln(1 + q t) - t ln(1 + q)) = eta/2 (t - t^2) + eta q/3 (t^3 - t)
// + ..., eta = e q^2, stays small however steep the segment: e^rho - 1 is taken as
// rho + rho^2 / 2 to these terms, a polynomial in t of degree 4, or of 2 or none where the
// terms beyond are below 1e-10 of the segment.
struct Bend {
    double mean = 0;               // the integral of G over the segment
    std::array<double, 5> poly{};  // e^rho - 1 by powers of t
    std::size_t degree = 0;
};

Bend bendOf(const Segment& s, const Growth& growth) {
    Bend bend;
    bend.mean = growth.scale * growth.moments[0];
    const double q = (s.b - s.a) * s.inverseA, eta = s.e * q * q, size = std::fabs(eta);
    bend.poly = {0, eta / 2 - eta * q / 3, -eta / 2 + eta * eta / 8, eta * q / 3 - eta * eta / 4, eta * eta / 8};
    bend.degree = size <= 8e-10 ? 0 : size * q <= 3e-9 && size <= 2e-4 ? 2 : 4;
    return bend;
}

// The integral by the harmonics of sin^n: the mean in closed form, and each cosine against G:
// with z = beta + i kappa h and P = G e^(i kappa f) at the ends, the integral over [0, 1] of
// G(a) e^(i kappa a) t^j e^(z t) is Phi_0 = (P_b - P_a) / z, Phi_j = (P_b - j Phi_(j-1)) / z.
// |z| is at least 2 omega h > 2 shortStep / n here and the bend's parts are at most
// largestBend, so the errors the recursion grows stay far below 1e-9 of the segment.
double harmonics(const Segment& s, const Bend& bend, const Phase& at, const Phase& bt, double omega,
                 const Kernel& kernel) {
    const double h = s.b - s.a, beta = s.e * s.r;
    const Complex twiceA{1 - 2 * at.sine * at.sine, 2 * at.sine * at.cosine};
    const Complex twiceB{1 - 2 * bt.sine * bt.sine, 2 * bt.sine * bt.cosine};
    Complex ea = twiceA, eb = twiceB;
    double sum = kernel.harmonics[0] * bend.mean;
    for (int k = 1; k <= kernel.n / 2; ++k) {
        const double imaginary = 2 * k * omega * h, size = beta * beta + imaginary * imaginary;
        const Complex w{beta / size, -imaginary / size};  // 1 / z
        const Complex pb = scaled(s.gb, eb);
        Complex phi = (pb - scaled(s.ga, ea)) * w;
        double total = phi.re;
        for (std::size_t j = 1; j <= bend.degree; ++j) {
            phi = (pb - scaled(static_cast<double>(j), phi)) * w;
            total += bend.poly[j] * phi.re;
        }
        sum += kernel.harmonics[static_cast<std::size_t>(k)] * h * total;
        ea = ea * twiceA;
        eb = eb * twiceB;
    }
    return sum;
}

enum class Way { moments, harmonics, exact };

// The ways that suit a segment as omega grows: its moments up to one omega, the harmonics from
// another on, the exact way between and where neither suits at all. Neither depends on how
// steep the segment is: a measured sweep whose levels scatter point to point is taken as fast
// as a smooth one.
struct Ways {
    double momentsUpTo = -1, harmonicsFrom = INFINITY;
    Way at(double omega) const {
        return omega <= momentsUpTo ? Way::moments : omega >= harmonicsFrom ? Way::harmonics : Way::exact;
    }
};

Ways waysFor(const Segment& s, int n) {
    const double h = s.b - s.a, q = h * s.inverseA, e = std::fabs(s.e);
    Ways ways;
    if (!(n * s.r <= shortStep)) return ways;
    ways.momentsUpTo = shortStep / (n * h);
    if (e * q * q <= largestBend && e * q * q * q * q <= largestBendQuartic)
        ways.harmonicsFrom = harmonicsFrom * s.inverseA;
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
// rotations ago that was worked afresh, and each kernel there.
struct PointState {
    bool known = false;
    Phase phase;
    int rotations = 0;
    std::array<KernelAt, 2> values;
};

// What a segment needs for each kernel, worked out when a way first asks for it.
struct SegmentKernel {
    Segment segment;
    Ways ways;
    std::optional<Growth> growth;
    std::optional<HermiteWeights> weights;
    std::optional<Bend> bend;
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
        std::array<SegmentKernel, 2> parts;
        for (std::size_t k = 0; k < kernelCount; ++k) {
            parts[k].segment =
                kernels[k]->power == 0
                    ? Segment{a.offset, b.offset, levelA, levelB, e, r, inverseA, inverseB}
                    : Segment{a.offset, b.offset, levelA * inverseA * inverseA, levelB * inverseB * inverseB, e - 2, r,
                              inverseA, inverseB};
            parts[k].ways = waysFor(parts[k].segment, kernels[k]->n);
        }
        for (std::size_t t = 0; t < count; ++t) {
            const double omega = omegas[t];
            std::array<Way, 2> way{Way::exact, Way::exact};
            bool phased = false;
            for (std::size_t k = 0; k < kernelCount; ++k) {
                way[k] = parts[k].ways.at(omega);
                phased = phased || way[k] != Way::exact;
            }
            PointState& state = states[t];
            if (!phased) {
                state.known = false;
                for (std::size_t k = 0; k < kernelCount; ++k) {
                    sums[k * count + t].add(exactIntegral(parts[k].segment, omega, *kernels[k]));
                }
                continue;
            }
            if (!state.known) {
                state.known = true;
                state.phase = phaseAt(omega * a.offset);
                state.rotations = 0;
                for (std::size_t k = 0; k < kernelCount; ++k) {
                    state.values[k] = kernelAt(state.phase, omega * a.offset, kernels[k]->n);
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
                SegmentKernel& part = parts[k];
                const Kernel& kernel = *kernels[k];
                state.values[k] = kernelAt(state.phase, omega * b.offset, kernel.n);
                double integral = 0;
                if (way[k] == Way::moments) {
                    if (!part.growth) part.growth = growthOf(part.segment);
                    if (!part.weights) part.weights = hermiteWeights(part.segment, *part.growth);
                    integral = hermite(*part.weights, start.values[k], state.values[k]);
                } else if (way[k] == Way::harmonics) {
                    if (!part.growth) part.growth = growthOf(part.segment);
                    if (!part.bend) part.bend = bendOf(part.segment, *part.growth);
                    integral = harmonics(part.segment, *part.bend, start.phase, state.phase, omega, kernel);
                } else {
                    integral = exactIntegral(part.segment, omega, kernel);
                }
                sums[k * count + t].add(integral);
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
