#include "analysis/trace_analysis.h"

#include <algorithm>
#include <cmath>

#include "figures/smoothing.h"
#include "numeric/numeric.h"
#include "plot_format/plot_format.h"
#include "units/si_units.h"
#include "numeric/portable_math.h"

namespace csv2pnp {

namespace {

constexpr int highestDecade = 308;

std::vector<SpotLevel> spotNoiseOf(const std::vector<TracePoint>& points, double from, double to) {
    std::vector<SpotLevel> spots;
    int lowest = static_cast<int>(std::ceil(math::log10(from))) - 1;
    for (int decade = lowest; decade <= highestDecade; ++decade) {
        double offset = powerOfTen(decade);
        if (offset > to) break;
        if (offset < from) continue;
        if (std::optional<double> level = levelAt(points, offset)) spots.push_back(SpotLevel{offset, *level});
    }
    return spots;
}

// Spot noise and the figures over the band, from the points given (the trace's own, or its
// points with the spurs on their clean lines).
TraceAnalysis figuresOf(const Trace& trace, CarrierChoice carrier, std::optional<OffsetBand> band,
                        const std::vector<TracePoint>& figurePoints) {
    TraceAnalysis analysis{&trace,
                           carrier,
                           trace.points.front().offset,
                           trace.points.back().offset,
                           {},
                           std::nullopt,
                           {},
                           {},
                           {},
                           band.has_value(),
                           std::nullopt,
                           defaultSpurThreshold,
                           {},
                           std::nullopt,
                           std::nullopt,
                           0,
                           std::nullopt,
                           false,
                           {}};
    analysis.band = band.value_or(OffsetBand{analysis.firstOffset, analysis.lastOffset});
    analysis.spotNoise = spotNoiseOf(trace.points, std::max(analysis.band.from, analysis.firstOffset),
                                     std::min(analysis.band.to, analysis.lastOffset));
    if (std::optional<NoiseIntegral> integral = integrateNoise(figurePoints, analysis.band.from, analysis.band.to)) {
        bool clipped = integral->from != analysis.band.from || integral->to != analysis.band.to;
        analysis.integration = BandFigures{*integral, clipped, false, false, 0, noiseFigures(*integral, carrier.hertz)};
    }
    return analysis;
}

void shiftOffsets(Trace& trace, double carrier) {
    for (TracePoint& point : trace.points) point.offset -= carrier;
    settlePoints(trace);
}

void normalise(Trace& trace, CarrierChoice& carrier, double to) {
    double change = 20 * math::log10(to / carrier.hertz);
    for (TracePoint& point : trace.points) point.level += change;
    carrier.normalisedFrom = carrier.hertz;
    carrier.hertz = to;
}

const Trace* floorOf(const std::vector<Trace>& traces, const Trace& trace) {
    for (const Trace& other : traces) {
        if (other.floor && other.group == trace.group) return &other;
    }
    return nullptr;
}

}  // namespace

CarrierChoice chooseCarrier(const Trace& trace, std::optional<double> commandLine) {
    if (commandLine) return CarrierChoice{*commandLine, CarrierSource::commandLine, std::nullopt};
    if (trace.carrier) return CarrierChoice{*trace.carrier, CarrierSource::carRecord, std::nullopt};
    return CarrierChoice{static_cast<double>(plotformat::defaultCarrierFrequency),
                         trace.plotFile ? CarrierSource::noRecord : CarrierSource::exportDefault, std::nullopt};
}

const std::vector<TracePoint>& drawnPoints(const TraceAnalysis& analysis) {
    return analysis.smoothing ? analysis.smoothedPoints : analysis.trace->points;
}

const std::vector<TracePoint>& figurePoints(const TraceAnalysis& analysis) {
    return analysis.spurFreePoints.empty() ? analysis.trace->points : analysis.spurFreePoints;
}

TraceAnalysis analyseTrace(const Trace& trace, CarrierChoice carrier, std::optional<OffsetBand> band) {
    return figuresOf(trace, std::move(carrier), band, trace.points);
}

Analyses analyseTraces(std::vector<Trace>& traces, const AnalysisOptions& options) {
    Analyses result;
    std::vector<CarrierChoice> carriers;
    for (Trace& trace : traces) {
        CarrierChoice carrier = chooseCarrier(trace, options.carrier);
        if (trace.plotFile && !trace.carrier) {
            if (options.carrier) {
                shiftOffsets(trace, *options.carrier);
                result.warnings.push_back({trace.source,
                                           "names no carrier (no CAR record): its offsets are taken "
                                           "from the carrier given with -c"});
            } else {
                result.warnings.push_back({trace.source,
                                           "names no carrier (no CAR record): its frequencies are "
                                           "taken as offsets; give the carrier with -c"});
            }
        }
        if (options.normaliseTo) {
            if (carrier.hertz > 0) {
                normalise(trace, carrier, *options.normaliseTo);
            } else {
                result.warnings.push_back({trace.source, trace.caption + ": a carrier of 0 Hz cannot be normalised"});
            }
        }
        carriers.push_back(carrier);
    }

    // Margins and the floor subtraction first, while every floor is still as measured.
    std::vector<std::optional<FloorMargin>> margins(traces.size());
    std::vector<std::size_t> belowFloor(traces.size(), 0);
    for (std::size_t i = 0; i < traces.size(); ++i) {
        Trace& trace = traces[i];
        const Trace* floor = trace.floor || trace.points.empty() ? nullptr : floorOf(traces, trace);
        if (!floor || floor->points.empty()) continue;
        margins[i] = floorMarginOf(trace.points, floor->points, options.marginThreshold);
    }
    if (options.subtractFloor) {
        for (std::size_t i = 0; i < traces.size(); ++i) {
            if (!margins[i]) continue;
            belowFloor[i] = subtractFloor(traces[i].points, *margins[i]);
            if (traces[i].points.empty()) {
                result.warnings.push_back({traces[i].source, traces[i].caption + ": every point is at or below the "
                                                                                 "floor, so nothing is left to draw"});
                result.emptied = true;
            }
        }
    }

    for (std::size_t i = 0; i < traces.size(); ++i) {
        const Trace& trace = traces[i];
        if (trace.points.empty()) continue;
        const CarrierChoice& carrier = carriers[i];
        if (!trace.floor && carrier.hertz < trace.points.back().offset) {
            result.warnings.push_back(
                {trace.source, trace.caption + ": the carrier " + withPrefix(carrier.hertz, "Hz") +
                                   " is below the highest offset " + withPrefix(trace.points.back().offset, "Hz", 5) +
                                   ", so the jitter means nothing; give the carrier with -c"});
        }
        std::vector<Spur> spurs;
        if (!trace.floor) spurs = findSpurs(trace.points, options.spurThreshold);
        std::vector<TracePoint> spurFree;
        if (options.omitSpurs && !spurs.empty()) spurFree = withoutSpurs(trace.points, spurs);
        TraceAnalysis analysis = figuresOf(trace, carrier, options.band, spurFree.empty() ? trace.points : spurFree);
        analysis.spurFreePoints = std::move(spurFree);
        analysis.spurThreshold = options.spurThreshold;
        if (options.smoothing) {
            analysis.smoothing = options.smoothing;
            analysis.smoothedPoints = smoothed(trace.points, *options.smoothing);
            bool unchanged = true;
            for (std::size_t k = 0; k < trace.points.size() && unchanged; ++k) {
                unchanged = std::fabs(analysis.smoothedPoints[k].level - trace.points[k].level) < 1e-9;
            }
            if (unchanged && trace.points.size() > 1) {
                result.warnings.push_back({trace.source, trace.caption + ": no point has another within " +
                                                             plainNumber(*options.smoothing / 2) +
                                                             " decades, so --smooth changes nothing"});
            }
            analysis.spotNoise =
                spotNoiseOf(analysis.smoothedPoints, std::max(analysis.band.from, analysis.firstOffset),
                            std::min(analysis.band.to, analysis.lastOffset));
        }
        double spurPower = 0;
        for (const Spur& spur : spurs) {
            std::optional<double> jitter;
            if (carrier.hertz > 0) jitter = jitterOf(spur.power, carrier.hertz);
            bool inBand = analysis.integration && spur.offset >= analysis.integration->integral.from &&
                          spur.offset <= analysis.integration->integral.to;
            analysis.spurs.push_back(SpurFigures{spur, jitter, inBand});
            if (inBand) spurPower += spur.power;
        }
        if (!spurs.empty() && carrier.hertz > 0) analysis.spursJitter = jitterOf(spurPower, carrier.hertz);
        if (margins[i]) {
            margins[i]->margins.clear();
            margins[i]->margins.shrink_to_fit();
            analysis.floorMargin = std::move(margins[i]);
        }
        analysis.belowFloor = belowFloor[i];
        if (analysis.integration) {
            BandFigures& figures = *analysis.integration;
            figures.spursOmitted = options.omitSpurs && !trace.floor;
            figures.floorSubtracted = options.subtractFloor && analysis.floorMargin.has_value();
            if (analysis.floorMargin) {
                const std::vector<double>& at = analysis.floorMargin->belowAt;
                figures.pointsBelowMargin =
                    static_cast<std::size_t>(std::upper_bound(at.begin(), at.end(), figures.integral.to) -
                                             std::lower_bound(at.begin(), at.end(), figures.integral.from));
            }
        }
        if (options.allanDeviation && !trace.floor) {
            analysis.allanAsked = true;
            analysis.allan = allanDeviations(figurePoints(analysis), carrier.hertz);
        }
        if (options.mask && !trace.floor) {
            analysis.mask = MaskFigures{options.maskFile, judgeAgainstMask(trace.points, *options.mask)};
        }
        result.traces.push_back(std::move(analysis));
    }
    return result;
}

}  // namespace csv2pnp
