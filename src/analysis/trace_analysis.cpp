#include "analysis/trace_analysis.h"

#include <algorithm>
#include <cmath>

#include "numeric/numeric.h"
#include "plot/plot_format.h"

namespace csv2pnp {

namespace {

constexpr int highestDecade = 308;

std::vector<SpotLevel> spotNoiseOf(const Trace& trace, double from, double to) {
    std::vector<SpotLevel> spots;
    int lowest = static_cast<int>(std::ceil(std::log10(from))) - 1;
    for (int decade = lowest; decade <= highestDecade; ++decade) {
        double offset = powerOfTen(decade);
        if (offset > to) break;
        if (offset < from) continue;
        if (std::optional<double> level = levelAt(trace.points, offset)) spots.push_back(SpotLevel{offset, *level});
    }
    return spots;
}

}  // namespace

CarrierChoice chooseCarrier(const Trace& trace, std::optional<double> commandLine) {
    if (commandLine) return CarrierChoice{*commandLine, "-c"};
    if (trace.carrier) return CarrierChoice{*trace.carrier, "CAR record"};
    return CarrierChoice{static_cast<double>(plotformat::defaultCarrierFrequency), "default for a CSV export"};
}

TraceAnalysis analyseTrace(const Trace& trace, CarrierChoice carrier, std::optional<OffsetBand> range) {
    TraceAnalysis analysis{&trace, std::move(carrier), trace.points.front().offset, trace.points.back().offset,
                           {}, {}, range.has_value(), std::nullopt};
    analysis.band = range.value_or(OffsetBand{analysis.firstOffset, analysis.lastOffset});
    analysis.spotNoise = spotNoiseOf(trace, std::max(analysis.band.from, analysis.firstOffset),
                                     std::min(analysis.band.to, analysis.lastOffset));
    if (std::optional<NoiseIntegral> integral = integrateNoise(trace.points, analysis.band.from, analysis.band.to)) {
        bool clipped = integral->from != analysis.band.from || integral->to != analysis.band.to;
        analysis.integration = BandFigures{*integral, clipped, noiseFigures(*integral, analysis.carrier.hertz)};
    }
    return analysis;
}

}  // namespace csv2pnp
