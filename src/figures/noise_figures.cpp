#include "figures/noise_figures.h"

#include <algorithm>
#include <cmath>

#include "numeric/numeric.h"

namespace csv2pnp {

namespace {

const double ln10 = std::log(10.0);

bool before(const TracePoint& point, double offset) { return point.offset < offset; }

// The integral from f1 to f2 of s1 (f / f1)^e df, which is s1 f1 r (e^((e+1) r) - 1) / ((e+1) r)
// with r = ln(f2 / f1). expm1(x) / x keeps it exact near e = -1, where it tends to s1 f1 r.
double powerLawIntegral(double s1, double f1, double f2, double e) {
    double r = logRatio(f1, f2);
    double x = (e + 1) * r;
    double growth = x == 0 ? 1 : std::expm1(x) / x;
    return s1 * f1 * r * growth;
}

// Levels beyond what a double's power holds give infinity or NaN in the closed form. The
// segment's integral lies between its width times the lower and the higher end's power, so
// the higher bound stands in: infinity when a power overflows, 0 when both underflow.
double guarded(double integral, double width, double highestPower) {
    return std::isfinite(integral) ? integral : width * highestPower;
}

}  // namespace

std::optional<double> levelAt(const std::vector<TracePoint>& points, double offset) {
    if (points.empty() || !(offset >= points.front().offset)) return std::nullopt;
    auto at = std::lower_bound(points.begin(), points.end(), offset, before);
    if (at == points.end()) return std::nullopt;
    if (at->offset == offset) return at->level;
    const TracePoint& low = *(at - 1);
    return low.level + (at->level - low.level) * logRatio(low.offset, offset) / logRatio(low.offset, at->offset);
}

double powerRatio(double level) { return std::pow(10.0, level / 10); }

std::optional<NoiseIntegral> integrateNoise(const std::vector<TracePoint>& points, double from, double to) {
    if (points.empty()) return std::nullopt;
    NoiseIntegral integral{std::max(from, points.front().offset), std::min(to, points.back().offset), 0, 0};
    if (!(integral.from < integral.to)) return std::nullopt;
    // From the segment that holds the range's start to the one that holds its end.
    auto first = std::lower_bound(points.begin(), points.end(), integral.from, before);
    std::size_t i = first == points.begin() ? 0 : static_cast<std::size_t>(first - points.begin()) - 1;
    for (; i + 1 < points.size() && points[i].offset < integral.to; ++i) {
        const TracePoint& a = points[i];
        const TracePoint& b = points[i + 1];
        double low = std::max(a.offset, integral.from);
        double high = std::min(b.offset, integral.to);
        if (!(low < high)) continue;  // outside the range, or two points at one offset
        // The slope as the exponent e of L ~ f^e; the part of the segment inside the range
        // starts on the same power law.
        double e = (b.level - a.level) * ln10 / (10 * logRatio(a.offset, b.offset));
        double s = powerRatio(a.level) * std::exp(e * logRatio(a.offset, low));
        double highestPower = std::max(powerRatio(a.level), powerRatio(b.level));
        integral.phaseArea += guarded(powerLawIntegral(s, low, high, e), high - low, highestPower);
        integral.frequencyArea +=
            guarded(powerLawIntegral(s * low * low, low, high, e + 2), high - low, highestPower * high * high);
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
