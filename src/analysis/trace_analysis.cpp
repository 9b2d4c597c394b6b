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
        if (std::optional<double> level = levelAt(points, offset)) spots.push_back(SpotLevel{offset, *level, {}});
    }
    return spots;
}

// The spot noise at the decades inside the band and the trace, read on the given points.
std::vector<SpotLevel> spotNoiseInBand(const TraceAnalysis& analysis, const std::vector<TracePoint>& points) {
    return spotNoiseOf(points, std::max(analysis.band.from, analysis.firstOffset),
                       std::min(analysis.band.to, analysis.lastOffset));
}

// Each spot whose level the spur would have moved, between the points around the spur's run,
// names the spur it stepped over.
void markSpursLeftOut(std::vector<SpotLevel>& spots, const std::vector<TracePoint>& points,
                      const std::vector<Spur>& spurs) {
    for (SpotLevel& spot : spots) {
        for (const Spur& spur : spurs) {
            double from = points[spur.first > 0 ? spur.first - 1 : 0].offset;
            double to = points[std::min(spur.last + 1, points.size() - 1)].offset;
            if (spot.offset > from && spot.offset < to) spot.spurLeftOut = spur.offset;
        }
    }
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
    if (!isPhaseNoise(trace) || !(carrier.hertz < trace.points.back().offset)) return;
    warnings.push_back({trace.source, 0,
                        trace.caption + ": the carrier " + withPrefix(carrier.hertz, "Hz") +
                            " is below the highest offset " + withPrefix(trace.points.back().offset, "Hz", 5) +
                            ", so the jitter means nothing; give the carrier with -c"});
}

// The noise smoothed, for the spot noise and the chart, each spur drawn as it stands above it;
// a warning when smoothing changes nothing.
void smooth(TraceAnalysis& analysis, double decades, const std::vector<Spur>& spurs, std::vector<Warning>& warnings) {
    const Trace& trace = *analysis.trace;
    std::vector<TracePoint> noise = smoothed(noisePoints(analysis), decades);
    std::vector<SpotLevel> spots = spotNoiseInBand(analysis, noise);
    markSpursLeftOut(spots, trace.points, spurs);
    analysis.spotNoise = std::move(spots);
    for (const Spur& spur : spurs) {
        for (std::size_t k = spur.first; k <= spur.last; ++k) noise[k].level = trace.points[k].level;
    }
    bool unchanged = true;
    for (std::size_t k = 0; k < trace.points.size() && unchanged; ++k) {
        unchanged = std::fabs(noise[k].level - trace.points[k].level) < 1e-9;
    }
    if (unchanged && trace.points.size() > 1) {
        warnings.push_back({trace.source, 0,
                            trace.caption + ": no point has another within " + plainNumber(decades / 2) +
                                " decades, so --smooth changes nothing"});
    }
    analysis.smoothed = SmoothedLevels{decades, std::move(noise)};
}

// Each spur with its jitter, whether it lies in the band, and the jitter of those in the band.
// With --spurs power the band's figures take each spur in the band as a tone: its power P at
// its offset f adds P to the phase area and P f^2 to the frequency area.
void addSpurs(TraceAnalysis& analysis, const std::vector<Spur>& spurs, SpurTreatment treatment) {
    const double carrier = analysis.carrier.hertz;
    double inBandPower = 0, inBandFrequencyPower = 0;
    std::size_t inBandCount = 0;
    for (const Spur& spur : spurs) {
        std::optional<double> jitter;
        if (carrier > 0) jitter = jitterOf(spur.power, carrier);
        bool inBand = analysis.integration && spur.offset >= analysis.integration->integral.from &&
                      spur.offset <= analysis.integration->integral.to;
        analysis.spurs.push_back(SpurFigures{spur, jitter, inBand});
        if (!inBand) continue;
        inBandPower += spur.power;
        inBandFrequencyPower += spur.power * spur.offset * spur.offset;
        ++inBandCount;
    }
    if (!spurs.empty() && carrier > 0) analysis.spursJitter = jitterOf(inBandPower, carrier);
    if (!analysis.integration || treatment != SpurTreatment::power || inBandCount == 0) return;
    BandFigures& band = *analysis.integration;
    band.integral.phaseArea += inBandPower;
    band.integral.frequencyArea += inBandFrequencyPower;
    band.tones = inBandCount;
    band.figures = noiseFigures(band.integral, carrier);
}

// The margin without its per-point list, which only the floor subtraction needed; and what
// the band's figures say of it.
void addFloorMargin(TraceAnalysis& analysis, std::optional<FloorMargin> margin, std::vector<TracePoint> floorLimited,
                    const AnalysisOptions& options) {
    if (margin) {
        margin->margins.clear();
        margin->margins.shrink_to_fit();
        analysis.floorMargin = std::move(margin);
    }
    analysis.floorLimited = std::move(floorLimited);
    if (!analysis.integration) return;
    BandFigures& figures = *analysis.integration;
    figures.floorSubtracted = options.subtractFloor && analysis.floorMargin.has_value();
    if (analysis.floorMargin) {
        const std::vector<double>& at = analysis.floorMargin->belowAt;
        figures.pointsBelowMargin =
            static_cast<std::size_t>(std::upper_bound(at.begin(), at.end(), figures.integral.to) -
                                     std::lower_bound(at.begin(), at.end(), figures.integral.from));
    }
}

// Everything said of one trace with points, its carrier settled and its floor subtracted.
// A mask that reaches beyond the trace judges only part of it: the verdict holds for that part.
void judge(TraceAnalysis& analysis, const LimitMask& mask, std::vector<Warning>& warnings) {
    const Trace& trace = *analysis.trace;
    analysis.mask = MaskFigures{mask.file, judgeAgainstMask(trace.points, mask)};
    const MaskVerdict& verdict = analysis.mask->verdict;
    if (verdict.judged == 0 || verdict.coversMask) return;
    warnings.push_back({trace.source, 0,
                        trace.caption + ": judged from " + withPrefix(verdict.judgedSpan.from, "Hz", 5) + " to " +
                            withPrefix(verdict.judgedSpan.to, "Hz", 5) + " only, where the mask " + mask.file +
                            " reaches from " + withPrefix(verdict.maskSpan.from, "Hz", 5) + " to " +
                            withPrefix(verdict.maskSpan.to, "Hz", 5)});
}

// Everything said of one trace, its carrier settled and its floor subtracted.
TraceAnalysis analyseOne(const Trace& trace, const CarrierChoice& carrier, std::optional<FloorMargin> margin,
                         std::vector<TracePoint> floorLimited, const AnalysisOptions& options, const LimitMask* mask,
                         std::vector<Warning>& warnings) {
    warnOfLowCarrier(trace, carrier, warnings);
    std::vector<Spur> spurs;
    if (isPhaseNoise(trace)) spurs = findSpurs(trace.points, options.spurThreshold);
    std::optional<std::vector<TracePoint>> clean;
    if (!spurs.empty()) clean = withoutSpurs(trace.points, spurs);
    const bool onClean = clean && options.spurs != SpurTreatment::measured;
    TraceAnalysis analysis =
        analyseTrace(trace, carrier, options.band, onClean ? *clean : trace.points, clean ? *clean : trace.points);
    analysis.clean = std::move(clean);
    markSpursLeftOut(analysis.spotNoise, trace.points, spurs);
    if (analysis.integration && isPhaseNoise(trace)) analysis.integration->spurs = options.spurs;
    analysis.spurThreshold = options.spurThreshold;
    if (options.smoothing) smooth(analysis, *options.smoothing, spurs, warnings);
    addSpurs(analysis, spurs, options.spurs);
    addFloorMargin(analysis, std::move(margin), std::move(floorLimited), options);
    if (options.allanDeviation && isPhaseNoise(trace))
        analysis.allan = allanDeviations(figurePoints(analysis), carrier.hertz);
    if (mask && isPhaseNoise(trace)) judge(analysis, *mask, warnings);
    return analysis;
}

}  // namespace

std::string_view spurTreatmentName(SpurTreatment treatment) {
    switch (treatment) {
    case SpurTreatment::measured: return "measured";
    case SpurTreatment::omit: return "omit";
    case SpurTreatment::power: return "power";
    }
    return "";
}

CarrierSourceWords carrierSourceWords(CarrierSource source) {
    switch (source) {
    case CarrierSource::carRecord: return {"CAR record", "CAR record"};
    case CarrierSource::inFile: return {"from the file", "file"};
    case CarrierSource::commandLine: return {"-c", "-c"};
    case CarrierSource::exportDefault: return {"default for a CSV export", "default"};
    case CarrierSource::noRecord: return {"default: the file has no CAR record", "default"};
    }
    return {"", ""};
}

CarrierChoice chooseCarrier(const Trace& trace) {
    if (trace.carrierGiven) return CarrierChoice{*trace.carrierGiven, CarrierSource::commandLine, std::nullopt};
    if (trace.carrier) {
        return CarrierChoice{*trace.carrier, trace.plotFile ? CarrierSource::carRecord : CarrierSource::inFile,
                             std::nullopt};
    }
    return CarrierChoice{static_cast<double>(plotformat::defaultCarrierFrequency),
                         trace.plotFile ? CarrierSource::noRecord : CarrierSource::exportDefault, std::nullopt};
}

const std::vector<TracePoint>& drawnPoints(const TraceAnalysis& analysis) {
    return analysis.smoothed ? analysis.smoothed->points : analysis.trace->points;
}

const std::vector<TracePoint>& figurePoints(const TraceAnalysis& analysis) {
    bool onClean = analysis.clean && analysis.integration && analysis.integration->spurs != SpurTreatment::measured;
    return onClean ? *analysis.clean : analysis.trace->points;
}

const std::vector<TracePoint>& noisePoints(const TraceAnalysis& analysis) {
    return analysis.clean ? *analysis.clean : analysis.trace->points;
}

std::vector<CarrierChoice> settleCarriers(std::vector<Trace>& traces, const AnalysisOptions& options,
                                          std::vector<Warning>& warnings) {
    std::vector<CarrierChoice> carriers;
    for (Trace& trace : traces) {
        CarrierChoice carrier = chooseCarrier(trace);
        if (trace.plotFile && !trace.carrier) {
            if (trace.carrierGiven) {
                shiftOffsets(trace, *trace.carrierGiven);
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
        const Trace* floor = !isPhaseNoise(trace) || trace.points.empty() ? nullptr : floorOf(traces, trace);
        if (floor && !floor->points.empty()) margins[i] = floorMarginOf(trace.points, floor->points, threshold);
    }
    return margins;
}

std::vector<std::vector<TracePoint>> subtractFloors(std::vector<Trace>& traces,
                                                    const std::vector<std::optional<FloorMargin>>& margins) {
    std::vector<std::vector<TracePoint>> limited(traces.size());
    for (std::size_t i = 0; i < traces.size(); ++i) {
        if (margins[i]) limited[i] = subtractFloor(traces[i].points, *margins[i]);
    }
    return limited;
}

TraceAnalysis analyseTrace(const Trace& trace, CarrierChoice carrier, std::optional<OffsetBand> band,
                           const std::vector<TracePoint>& figurePoints, const std::vector<TracePoint>& noisePoints) {
    TraceAnalysis analysis;
    analysis.trace = &trace;
    analysis.carrier = carrier;
    analysis.firstOffset = trace.points.front().offset;
    analysis.lastOffset = trace.points.back().offset;
    analysis.bandGiven = band.has_value();
    analysis.band = band.value_or(OffsetBand{analysis.firstOffset, analysis.lastOffset});
    analysis.spotNoise = spotNoiseInBand(analysis, noisePoints);
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
    std::vector<std::vector<TracePoint>> floorLimited(traces.size());
    if (options.subtractFloor) floorLimited = subtractFloors(traces, margins);
    for (std::size_t i = 0; i < traces.size(); ++i) {
        result.traces.push_back(analyseOne(traces[i], carriers[i], std::move(margins[i]), std::move(floorLimited[i]),
                                           options, mask, result.warnings));
    }
    return result;
}

}  // namespace csv2pnp
