#include "analysis/trace_analysis.h"

#include <algorithm>
#include <cmath>

#include "figures/smoothing.h"
#include "numeric/numeric.h"
#include "numeric/portable_math.h"
#include "plot_format/plot_format.h"
#include "units/si_units.h"

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

std::vector<SpotLevel> spotNoiseInBand(const TraceAnalysis& analysis, const std::vector<TracePoint>& points) {
    return spotNoiseOf(points, std::max(analysis.band.from, analysis.firstOffset),
                       std::min(analysis.band.to, analysis.lastOffset));
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

// A carrier below the offsets makes the jitter meaningless.
void warnOfLowCarrier(const Trace& trace, const CarrierChoice& carrier, std::vector<Warning>& warnings) {
    if (trace.floor || !(carrier.hertz < trace.points.back().offset)) return;
    warnings.push_back({trace.source, 0,
                        trace.caption + ": the carrier " + withPrefix(carrier.hertz, "Hz") +
                            " is below the highest offset " + withPrefix(trace.points.back().offset, "Hz", 5) +
                            ", so the jitter means nothing; give the carrier with -c"});
}

// The drawn levels and the spot noise smoothed; a warning when smoothing changes nothing.
void smooth(TraceAnalysis& analysis, double decades, std::vector<Warning>& warnings) {
    const Trace& trace = *analysis.trace;
    analysis.smoothed = SmoothedLevels{decades, smoothed(trace.points, decades)};
    const std::vector<TracePoint>& points = analysis.smoothed->points;
    bool unchanged = true;
    for (std::size_t k = 0; k < trace.points.size() && unchanged; ++k) {
        unchanged = std::fabs(points[k].level - trace.points[k].level) < 1e-9;
    }
    if (unchanged && trace.points.size() > 1) {
        warnings.push_back({trace.source, 0,
                            trace.caption + ": no point has another within " + plainNumber(decades / 2) +
                                " decades, so --smooth changes nothing"});
    }
    analysis.spotNoise = spotNoiseInBand(analysis, points);
}

// Each spur with its jitter, whether it lies in the band, and the jitter of those in the band.
void addSpurs(TraceAnalysis& analysis, const std::vector<Spur>& spurs) {
    const double carrier = analysis.carrier.hertz;
    double inBandPower = 0;
    for (const Spur& spur : spurs) {
        std::optional<double> jitter;
        if (carrier > 0) jitter = jitterOf(spur.power, carrier);
        bool inBand = analysis.integration && spur.offset >= analysis.integration->integral.from &&
                      spur.offset <= analysis.integration->integral.to;
        analysis.spurs.push_back(SpurFigures{spur, jitter, inBand});
        if (inBand) inBandPower += spur.power;
    }
    if (!spurs.empty() && carrier > 0) analysis.spursJitter = jitterOf(inBandPower, carrier);
}

// The margin without its per-point list, which only the floor subtraction needed; and what
// the band's figures say of it.
void addFloorMargin(TraceAnalysis& analysis, std::optional<FloorMargin> margin, std::size_t belowFloor,
                    const AnalysisOptions& options) {
    if (margin) {
        margin->margins.clear();
        margin->margins.shrink_to_fit();
        analysis.floorMargin = std::move(margin);
    }
    analysis.belowFloor = belowFloor;
    if (!analysis.integration) return;
    BandFigures& figures = *analysis.integration;
    figures.spursOmitted = options.omitSpurs && !analysis.trace->floor;
    figures.floorSubtracted = options.subtractFloor && analysis.floorMargin.has_value();
    if (analysis.floorMargin) {
        const std::vector<double>& at = analysis.floorMargin->belowAt;
        figures.pointsBelowMargin =
            static_cast<std::size_t>(std::upper_bound(at.begin(), at.end(), figures.integral.to) -
                                     std::lower_bound(at.begin(), at.end(), figures.integral.from));
    }
}

// Everything said of one trace with points, its carrier settled and its floor subtracted.
TraceAnalysis analyseOne(const Trace& trace, const CarrierChoice& carrier, std::optional<FloorMargin> margin,
                         std::size_t belowFloor, const AnalysisOptions& options, const LimitMask* mask,
                         std::vector<Warning>& warnings) {
    warnOfLowCarrier(trace, carrier, warnings);
    std::vector<Spur> spurs;
    if (!trace.floor) spurs = findSpurs(trace.points, options.spurThreshold);
    std::optional<std::vector<TracePoint>> spurFree;
    if (options.omitSpurs && !spurs.empty()) spurFree = withoutSpurs(trace.points, spurs);
    TraceAnalysis analysis = analyseTrace(trace, carrier, options.band, spurFree ? *spurFree : trace.points);
    analysis.spurFree = std::move(spurFree);
    analysis.spurThreshold = options.spurThreshold;
    if (options.smoothing) smooth(analysis, *options.smoothing, warnings);
    addSpurs(analysis, spurs);
    addFloorMargin(analysis, std::move(margin), belowFloor, options);
    if (options.allanDeviation && !trace.floor) analysis.allan = allanDeviations(figurePoints(analysis), carrier.hertz);
    if (mask && !trace.floor) analysis.mask = MaskFigures{mask->file, judgeAgainstMask(trace.points, *mask)};
    return analysis;
}

}  // namespace

CarrierSourceWords carrierSourceWords(CarrierSource source) {
    switch (source) {
    case CarrierSource::carRecord: return {"CAR record", "CAR record"};
    case CarrierSource::commandLine: return {"-c", "-c"};
    case CarrierSource::exportDefault: return {"default for a CSV export", "default"};
    case CarrierSource::noRecord: return {"default: the file has no CAR record", "default"};
    }
    return {"", ""};
}

CarrierChoice chooseCarrier(const Trace& trace, std::optional<double> commandLine) {
    if (commandLine) return CarrierChoice{*commandLine, CarrierSource::commandLine, std::nullopt};
    if (trace.carrier) return CarrierChoice{*trace.carrier, CarrierSource::carRecord, std::nullopt};
    return CarrierChoice{static_cast<double>(plotformat::defaultCarrierFrequency),
                         trace.plotFile ? CarrierSource::noRecord : CarrierSource::exportDefault, std::nullopt};
}

const std::vector<TracePoint>& drawnPoints(const TraceAnalysis& analysis) {
    return analysis.smoothed ? analysis.smoothed->points : analysis.trace->points;
}

const std::vector<TracePoint>& figurePoints(const TraceAnalysis& analysis) {
    return analysis.spurFree ? *analysis.spurFree : analysis.trace->points;
}

std::vector<CarrierChoice> settleCarriers(std::vector<Trace>& traces, const AnalysisOptions& options,
                                          std::vector<Warning>& warnings) {
    std::vector<CarrierChoice> carriers;
    for (Trace& trace : traces) {
        CarrierChoice carrier = chooseCarrier(trace, options.carrier);
        if (trace.plotFile && !trace.carrier) {
            if (options.carrier) {
                shiftOffsets(trace, *options.carrier);
                warnings.push_back({trace.source, 0,
                                    "names no carrier (no CAR record): its offsets are taken from the carrier "
                                    "given with -c"});
            } else {
                warnings.push_back({trace.source, 0,
                                    "names no carrier (no CAR record): its frequencies are taken as offsets; give "
                                    "the carrier with -c"});
            }
        }
        if (options.normaliseTo) {
            if (carrier.hertz > 0) {
                normalise(trace, carrier, *options.normaliseTo);
            } else {
                warnings.push_back({trace.source, 0, trace.caption + ": a carrier of 0 Hz cannot be normalised"});
            }
        }
        carriers.push_back(carrier);
    }
    return carriers;
}

std::vector<std::optional<FloorMargin>> floorMargins(const std::vector<Trace>& traces, double threshold) {
    std::vector<std::optional<FloorMargin>> margins(traces.size());
    for (std::size_t i = 0; i < traces.size(); ++i) {
        const Trace& trace = traces[i];
        const Trace* floor = trace.floor || trace.points.empty() ? nullptr : floorOf(traces, trace);
        if (floor && !floor->points.empty()) margins[i] = floorMarginOf(trace.points, floor->points, threshold);
    }
    return margins;
}

std::vector<std::size_t> subtractFloors(std::vector<Trace>& traces,
                                        const std::vector<std::optional<FloorMargin>>& margins,
                                        std::vector<Warning>& warnings, bool& emptied) {
    std::vector<std::size_t> belowFloor(traces.size(), 0);
    for (std::size_t i = 0; i < traces.size(); ++i) {
        if (!margins[i]) continue;
        belowFloor[i] = subtractFloor(traces[i].points, *margins[i]);
        if (traces[i].points.empty()) {
            warnings.push_back(
                {traces[i].source, 0,
                 traces[i].caption + ": every point is at or below the floor, so nothing is left to draw"});
            emptied = true;
        }
    }
    return belowFloor;
}

TraceAnalysis analyseTrace(const Trace& trace, CarrierChoice carrier, std::optional<OffsetBand> band,
                           const std::vector<TracePoint>& figurePoints) {
    TraceAnalysis analysis;
    analysis.trace = &trace;
    analysis.carrier = carrier;
    analysis.firstOffset = trace.points.front().offset;
    analysis.lastOffset = trace.points.back().offset;
    analysis.bandGiven = band.has_value();
    analysis.band = band.value_or(OffsetBand{analysis.firstOffset, analysis.lastOffset});
    analysis.spotNoise = spotNoiseInBand(analysis, trace.points);
    if (std::optional<NoiseIntegral> integral = integrateNoise(figurePoints, analysis.band.from, analysis.band.to)) {
        BandFigures figures;
        figures.integral = *integral;
        figures.clipped = integral->from != analysis.band.from || integral->to != analysis.band.to;
        figures.figures = noiseFigures(*integral, carrier.hertz);
        analysis.integration = figures;
    }
    return analysis;
}

Analyses analyseTraces(std::vector<Trace>& traces, const AnalysisOptions& options, const LimitMask* mask) {
    Analyses result;
    std::vector<CarrierChoice> carriers = settleCarriers(traces, options, result.warnings);
    std::vector<std::optional<FloorMargin>> margins = floorMargins(traces, options.marginThreshold);
    std::vector<std::size_t> belowFloor(traces.size(), 0);
    if (options.subtractFloor) belowFloor = subtractFloors(traces, margins, result.warnings, result.emptied);
    for (std::size_t i = 0; i < traces.size(); ++i) {
        if (traces[i].points.empty()) continue;
        result.traces.push_back(
            analyseOne(traces[i], carriers[i], std::move(margins[i]), belowFloor[i], options, mask, result.warnings));
    }
    return result;
}

}  // namespace csv2pnp
