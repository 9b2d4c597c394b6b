#include "figures/noise_figures.h"

#include <algorithm>
#include <cmath>

#include "figures/power_law.h"
#include "numeric/numeric.h"
#include "numeric/portable_math.h"

namespace csv2pnp {

namespace {

const double ln10 = math::log(10.0);

bool before(const TracePoint& point, double offset) { return point.offset < offset; }

// The integral from f1 to f2 of s1 (f / f1)^e df is s1 f1 r (e^((e+1) r) - 1) / ((e+1) r) with
// r = ln(f2 / f1); expm1(x) / x keeps it exact near e = -1, where it tends to s1 f1 r.
double growth(double x) { return x == 0 ? 1 : math::expm1(x) / x; }

// Levels beyond what a double's power holds give infinity or NaN in the closed form. The
// segment's integral lies between its width times the lower and the higher end's power, so
// the higher bound stands in: infinity when a power overflows, 0 when both underflow.
double guarded(double integral, double width, double lowPower, double highLevel) {
    return std::isfinite(integral) ? integral : width * std::max(lowPower, powerRatio(highLevel));
}

// The areas of L and of L f^2 from low to high, inside the segment from a to b. The slope is
// the exponent e of L ~ f^e; the part of the segment inside the range starts on the same
// power law.
std::pair<double, double> segmentAreas(const TracePoint& a, const TracePoint& b, double low, double high) {
    const bool whole = low == a.offset && high == b.offset;
    const double spanned = logRatio(a.offset, b.offset);
    const double e = (b.level - a.level) * ln10 / (10 * spanned);  // as powerLawExponent has it
    const double power = powerRatio(a.level);
    const double s = low == a.offset ? power : power * math::exp(e * logRatio(a.offset, low));
    const double r = whole ? spanned : logRatio(low, high);
    return {guarded(s * low * r * growth((e + 1) * r), high - low, power, b.level),
            guarded(s * low * low * low * r * growth((e + 3) * r), high - low, power * high * high,
                    b.level + 20 * math::log10(high))};
}

}  // namespace

std::optional<double> levelAt(const std::vector<TracePoint>& points, double offset) {
    if (points.empty() || !(offset >= points.front().offset)) return std::nullopt;
    auto at = std::lower_bound(points.begin(), points.end(), offset, before);
    if (at == points.end()) return std::nullopt;
    if (at->offset == offset) return at->level;
    return levelBetween(*(at - 1), *at, offset);
}

double powerRatio(double level) { return math::exp10(level / 10); }

std::optional<NoiseIntegral> integrateNoise(const std::vector<TracePoint>& points, double from, double to) {
    if (points.empty()) return std::nullopt;
    NoiseIntegral integral{std::max(from, points.front().offset), std::min(to, points.back().offset), 0, 0};
    if (!(integral.from < integral.to)) return std::nullopt;
    // From the segment that holds the range's start to the one that holds its end.
    auto first = std::lower_bound(points.begin(), points.end(), integral.from, before);
    std::size_t i = first == points.begin() ? 0 : static_cast<std::size_t>(first - points.begin()) - 1;
    for (; i + 1 < points.size() && points[i].offset < integral.to; ++i) {
        double low = std::max(points[i].offset, integral.from);
        double high = std::min(points[i + 1].offset, integral.to);
        if (!(low < high)) continue;  // outside the range, or two points at one offset
        std::pair<double, double> areas = segmentAreas(points[i], points[i + 1], low, high);
        integral.phaseArea += areas.first;
        integral.frequencyArea += areas.second;
    }
    return integral;
}

std::vector<std::pair<double, double>> runningIntegrals(const std::vector<TracePoint>& points) {
    std::vector<std::pair<double, double>> running(points.size(), {0.0, 0.0});
    for (std::size_t i = 1; i < points.size(); ++i) {
        running[i] = running[i - 1];
        if (!(points[i - 1].offset < points[i].offset)) continue;
        std::pair<double, double> areas =
            segmentAreas(points[i - 1], points[i], points[i - 1].offset, points[i].offset);
        running[i].first += areas.first;
        running[i].second += areas.second;
    }
    return running;
}

NoiseFigures noiseFigures(const NoiseIntegral& integral, double carrier) {
    NoiseFigures figures{};
    figures.integratedPhaseNoise = 10 * math::log10(integral.phaseArea);
    figures.rmsPhase = std::sqrt(2 * integral.phaseArea);
    figures.rmsPhaseDegrees = figures.rmsPhase * 180 / pi;
    if (carrier > 0) figures.rmsJitter = figures.rmsPhase / (2 * pi * carrier);
    figures.residualFm = std::sqrt(2 * integral.frequencyArea);
    return figures;
}

}  // namespace csv2pnp
