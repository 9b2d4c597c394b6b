#include "figures/noise_figures.h"

#include <algorithm>
#include <cmath>

#include "numeric/numeric.h"

namespace csv2pnp {

namespace {

double powerRatio(double level) { return std::pow(10.0, level / 10); }

// The slope of the level between two points, as the exponent b of L ~ f^b.
double exponentBetween(const TracePoint& a, const TracePoint& b) {
    return (b.level - a.level) / (10 * std::log10(b.offset / a.offset));
}

// The integral from f1 to f2 of s1 (f / f1)^e df, which is s1 f1 r (e^((e+1) r) - 1) / ((e+1) r)
// with r = ln(f2 / f1). expm1(x) / x keeps it exact near e = -1, where it tends to s1 f1 r.
double powerLawIntegral(double s1, double f1, double f2, double e) {
    double r = std::log(f2 / f1);
    double x = (e + 1) * r;
    double growth = x == 0 ? 1 : std::expm1(x) / x;
    return s1 * f1 * r * growth;
}

bool before(const TracePoint& point, double offset) { return point.offset < offset; }

}  // namespace

std::optional<double> levelAt(const std::vector<TracePoint>& points, double offset) {
    if (points.empty() || !(offset >= points.front().offset)) return std::nullopt;
    auto at = std::lower_bound(points.begin(), points.end(), offset, before);
    if (at == points.end()) return std::nullopt;
    if (at->offset == offset) return at->level;
    const TracePoint& low = *(at - 1);
    return low.level + (at->level - low.level) * std::log10(offset / low.offset) / std::log10(at->offset / low.offset);
}

std::optional<NoiseIntegral> integrateNoise(const std::vector<TracePoint>& points, double from, double to) {
    if (points.empty()) return std::nullopt;
    NoiseIntegral integral{std::max(from, points.front().offset), std::min(to, points.back().offset), 0, 0};
    if (!(integral.from < integral.to)) return std::nullopt;
    for (std::size_t i = 0; i + 1 < points.size(); ++i) {
        const TracePoint& a = points[i];
        const TracePoint& b = points[i + 1];
        double low = std::max(a.offset, integral.from);
        double high = std::min(b.offset, integral.to);
        if (!(low < high)) continue;  // outside the range, or two points at one offset
        double e = exponentBetween(a, b);
        // The part of the segment inside the range starts on the same power law.
        double s = powerRatio(a.level) * std::pow(low / a.offset, e);
        integral.phaseArea += powerLawIntegral(s, low, high, e);
        integral.frequencyArea += powerLawIntegral(s * low * low, low, high, e + 2);
    }
    return integral;
}

NoiseFigures noiseFigures(const NoiseIntegral& integral, double carrier) {
    NoiseFigures figures{};
    figures.integratedPhaseNoise = 10 * std::log10(integral.phaseArea);
    figures.rmsPhase = std::sqrt(2 * integral.phaseArea);
    figures.rmsPhaseDegrees = figures.rmsPhase * 180 / pi;
    if (carrier > 0) figures.rmsJitter = figures.rmsPhase / (2 * pi * carrier);
    figures.residualFm = std::sqrt(2 * integral.frequencyArea);
    return figures;
}

}  // namespace csv2pnp
