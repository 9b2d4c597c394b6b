#include "analysis/trace_analysis.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "figures/smoothing.h"
#include "numeric/numeric.h"
#include "numeric/portable_math.h"
#include "plot_format/plot_format.h"
#include "text/utf8_text.h"
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
                        trace.caption + ": the carrier " + frequencyText(carrier.hertz) +
                            " is below the highest offset " + withPrefix(trace.points.back().offset, "Hz", 5) +
                            ", so the jitter means nothing; give the carrier with -c"});
}

// The spot offsets given with --spot, each inside the trace or not, or the decades of the band.
std::vector<SpotLevel> spotsOf(const TraceAnalysis& analysis, const std::vector<TracePoint>& points,
                               const AnalysisOptions& options) {
    if (!options.spots) return spotNoiseInBand(analysis, points);
    std::vector<SpotLevel> spots;
    for (double offset : *options.spots) {
        std::optional<double> level = levelAt(points, offset);
        spots.push_back(SpotLevel{offset, level.value_or(NAN), {}, level.has_value(), 0});
    }
    return spots;
}

// The noise smoothed, for the spot noise and the chart, each spur drawn as it stands above it;
// a warning when smoothing changes nothing.
void smooth(TraceAnalysis& analysis, double decades, const std::vector<Spur>& spurs, const AnalysisOptions& options,
            std::vector<Warning>& warnings) {
    const Trace& trace = *analysis.trace;
    std::vector<TracePoint> noise = smoothed(noisePoints(analysis), decades);
    std::vector<SpotLevel> spots = spotsOf(analysis, noise, options);
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

// With --spurs power a band's figures take each spur in it as a tone: its power P at its offset
// f adds P to the phase area and P f^2 to the frequency area.
void addTones(BandFigures& band, const std::vector<Spur>& spurs, double carrier) {
    if (band.spurs != SpurTreatment::power) return;
    for (const Spur& spur : spurs) {
        if (spur.offset < band.integral.from || spur.offset > band.integral.to) continue;
        band.integral.phaseArea += spur.power;
        band.integral.frequencyArea += spur.power * spur.offset * spur.offset;
        ++band.tones;
    }
    if (band.tones > 0) band.figures = noiseFigures(band.integral, carrier);
}

// Each spur with its jitter, whether it lies in the first band, and the jitter of those in it.
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

// A band's figures over the given points: how the spurs were taken, the tones with --spurs
// power, the floor's subtraction, and the points of the band near the floor. The integral of
// these points over the band, when already worked out, is not worked out again.
std::optional<BandFigures> bandFigures(const TraceAnalysis& analysis, const std::vector<TracePoint>& points,
                                       OffsetBand band, const std::vector<Spur>& spurs, const AnalysisOptions& options,
                                       std::optional<NoiseIntegral> known = std::nullopt) {
    std::optional<NoiseIntegral> integral = known ? known : integrateNoise(points, band.from, band.to);
    if (!integral) return std::nullopt;
    BandFigures figures;
    figures.integral = *integral;
    figures.clipped = integral->from != band.from || integral->to != band.to;
    figures.figures = noiseFigures(*integral, analysis.carrier.hertz);
    // Spurs are found on phase noise only: a floor or amplitude noise is integrated as measured.
    figures.spurs = isPhaseNoise(*analysis.trace) ? options.spurs : SpurTreatment::measured;
    addTones(figures, spurs, analysis.carrier.hertz);
    figures.floorSubtracted = options.subtractFloor && analysis.floorMargin.has_value();
    if (analysis.floorMargin) {
        const std::vector<double>& at = analysis.floorMargin->belowAt;
        figures.pointsBelowMargin = static_cast<std::size_t>(std::upper_bound(at.begin(), at.end(), integral->to) -
                                                             std::lower_bound(at.begin(), at.end(), integral->from));
    }
    return figures;
}

// pnpplot's figure over each range the instrument integrated itself, where the levels are those
// of the export and the instrument weighted none.
void compareWithInstrument(TraceAnalysis& analysis, const std::vector<Spur>& spurs, const AnalysisOptions& options) {
    const Trace& trace = *analysis.trace;
    if (!trace.instrument || !isPhaseNoise(trace)) return;
    std::string moved;
    if (options.normaliseTo || options.pair) moved = "-n or --pair moved the levels";
    if (analysis.integration && analysis.integration->floorSubtracted) moved = "--subtract-floor moved the levels";
    for (const InstrumentIntegration& given : trace.instrument->integrations) {
        const std::string weighting = asciiLowerCase(given.weighting);
        const bool weighted = !weighting.empty() && weighting != "none" && weighting != "off";
        InstrumentComparison comparison{given, std::nullopt, std::nullopt,
                                        !moved.empty() ? moved
                                        : weighted     ? "the instrument weighted its figure (" + given.weighting + ")"
                                                       : ""};
        if (comparison.notCompared.empty()) {
            comparison.ours = bandFigures(analysis, figurePoints(analysis), given.band, spurs, options);
            if (comparison.ours) {
                comparison.differenceDb = comparison.ours->figures.integratedPhaseNoise - given.noiseDbc;
            }
        }
        analysis.instrument.push_back(std::move(comparison));
    }
}

// The margin without its per-point list, which only the floor subtraction needed.
void addFloorMargin(TraceAnalysis& analysis, std::optional<FloorMargin> margin, std::vector<TracePoint> floorLimited) {
    if (margin) {
        margin->margins.clear();
        margin->margins.shrink_to_fit();
        analysis.floorMargin = std::move(margin);
    }
    analysis.floorLimited = std::move(floorLimited);
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

// Every other phase-noise trace as its difference from the first phase-noise trace of the
// input given.
// The power-law fit of the trace as measured, leaving out the spurs and the points less than
// the margin above the floor, and the Allan deviation of its terms beside the trace's own.
void fit(TraceAnalysis& analysis, const std::vector<Spur>& spurs, const AnalysisOptions& options,
         const std::vector<DeviationPoint>& integrated) {
    const std::vector<TracePoint>& points = analysis.trace->points;
    std::vector<bool> use(points.size(), true);
    for (const Spur& spur : spurs) {
        for (std::size_t p = spur.first; p <= spur.last; ++p) use[p] = false;
    }
    if (analysis.floorMargin) {
        // The offsets below the margin, in order, as the points are.
        const std::vector<double>& below = analysis.floorMargin->belowAt;
        std::size_t next = 0;
        for (std::size_t p = 0; p < points.size() && next < below.size(); ++p) {
            if (points[p].offset == below[next]) use[p] = false, ++next;
        }
    }
    const OffsetBand range = options.fitRange.value_or(OffsetBand{analysis.firstOffset, analysis.lastOffset});
    const double carrier = analysis.carrier.hertz;
    FitFigures figures;
    figures.fit = fitPowerLaws(points, use, range.from, range.to, carrier);
    figures.bandwidthGiven = options.fitBandwidth.has_value();
    figures.bandwidth = options.fitBandwidth.value_or(analysis.lastOffset);
    if (figures.fit) {
        for (const DeviationPoint& point : integrated) {
            FitAllan row{point.tau, {}, 0, point.value};
            double variance = 0;
            for (const PowerLawTerm& term : figures.fit->terms) {
                const double part = termAllanVariance(term, point.tau, figures.bandwidth);
                row.terms.push_back(std::sqrt(std::max(part, 0.0)));
                variance += std::max(part, 0.0);
            }
            row.total = std::sqrt(variance);
            figures.allan.push_back(std::move(row));
        }
    }
    analysis.fit = std::move(figures);
}

void setAgainst(Analyses& analyses, std::size_t input) {
    auto reference = std::find_if(analyses.traces.begin(), analyses.traces.end(), [&](const TraceAnalysis& a) {
        return a.trace->input == input && isPhaseNoise(*a.trace);
    });
    if (reference == analyses.traces.end()) {
        analyses.warnings.push_back({"", 0,
                                     "--relative-to " + std::to_string(input + 1) +
                                         ": that input gave no phase-noise trace, so nothing is set against it"});
        return;
    }
    for (TraceAnalysis& analysis : analyses.traces) {
        if (&analysis == &*reference || !isPhaseNoise(*analysis.trace)) continue;
        analysis.relative = differenceFrom(analysis.trace->points, reference->trace->points);
        analysis.relativeTo = reference->trace->caption;
        if (analysis.relative) analysis.shown = analysis.relative->points;
    }
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
    analysis.figuresOnClean = onClean;
    addFloorMargin(analysis, std::move(margin), std::move(floorLimited));
    // analyseTrace integrated the band over these very points.
    analysis.integration =
        bandFigures(analysis, figurePoints(analysis), analysis.band, spurs, options,
                    analysis.integration ? std::optional<NoiseIntegral>(analysis.integration->integral) : std::nullopt);
    for (const OffsetBand& band : options.moreBands) {
        analysis.moreBands.push_back({band, bandFigures(analysis, figurePoints(analysis), band, spurs, options)});
    }
    compareWithInstrument(analysis, spurs, options);
    analysis.spotNoise = spotsOf(analysis, noisePoints(analysis), options);
    markSpursLeftOut(analysis.spotNoise, trace.points, spurs);
    analysis.spurThreshold = options.spurThreshold;
    if (options.smoothing) smooth(analysis, *options.smoothing, spurs, options, warnings);
    for (SpotLevel& spot : analysis.spotNoise) {
        if (spot.inside) spot.density = densityOf(options.density, spot.level, spot.offset, carrier.hertz);
    }
    addSpurs(analysis, spurs);
    // The deviations asked for, and the Allan deviation the fit is set beside, in one pass; the
    // spurs taken as the integrated figures take them, with --spurs power each a tone of its
    // power.
    const DeviationsAsked& asked = options.deviations;
    const bool deviations = asked.allan || asked.modified || asked.time;
    if ((deviations || options.fit) && isPhaseNoise(trace)) {
        DeviationsAsked computed = asked;
        computed.allan = asked.allan || options.fit;
        std::vector<PhaseTone> tones;
        if (onClean && options.spurs == SpurTreatment::power) {
            for (const Spur& spur : spurs) tones.push_back({spur.offset, spur.power});
        }
        TimeDeviations figures = timeDeviations(figurePoints(analysis), carrier.hertz, computed, tones);
        if (options.fit) fit(analysis, spurs, options, figures.allan);
        if (!asked.allan) figures.allan.clear();
        figures.asked = asked;
        if (deviations) analysis.deviations = std::move(figures);
    }
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
    case CarrierSource::exportDefault: return {"default for an export", "default"};
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
    return analysis.clean && analysis.figuresOnClean ? *analysis.clean : analysis.trace->points;
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

void applyThreeCorneredHat(std::vector<Trace>& traces, std::vector<Warning>& warnings) {
    std::array<const Trace*, 3> pairs{};
    for (const Trace& trace : traces) {
        if (trace.input < 3 && isPhaseNoise(trace) && !pairs[trace.input]) pairs[trace.input] = &trace;
    }
    if (!pairs[0] || !pairs[1] || !pairs[2]) {
        warnings.push_back({"", 0,
                            "--hat needs a phase-noise trace from each of the first three inputs; without one, "
                            "the inputs are drawn as they are"});
        return;
    }
    HatResult hat = threeCorneredHat(pairs[0]->points, pairs[1]->points, pairs[2]->points);
    const std::string sources = pairs[0]->source + ", " + pairs[1]->source + ", " + pairs[2]->source;
    std::vector<Trace> oscillators;
    for (std::size_t k = 0; k < 3; ++k) {
        Trace trace;
        const std::string letter(1, static_cast<char>('A' + k));
        // The oscillators take the labels of the first three inputs, in order, when given.
        trace.part = letter;
        trace.caption = trace.measurement = trace.label = pairs[k]->label.empty() ? letter : pairs[k]->label;
        trace.source = sources;
        trace.group = "hat " + letter;
        trace.layout = "hat";
        trace.carrier = pairs[0]->carrier;
        trace.carrierGiven = pairs[0]->carrierGiven;
        trace.plotFile = pairs[0]->plotFile;
        trace.points = std::move(hat.oscillators[k]);
        if (hat.leftOut[k] > 0) {
            warnings.push_back({sources, 0,
                                trace.caption + ": " + std::to_string(hat.leftOut[k]) +
                                    (hat.leftOut[k] == 1 ? " point" : " points") +
                                    " of the three-cornered hat came out at or below no power, and " +
                                    (hat.leftOut[k] == 1 ? "is" : "are") + " left out"});
        }
        trace.withoutPower = hat.leftOut[k];
        oscillators.push_back(std::move(trace));
    }
    traces.erase(std::remove_if(traces.begin(), traces.end(), [](const Trace& t) { return t.input < 3; }),
                 traces.end());
    traces.insert(traces.begin(), std::make_move_iterator(oscillators.begin()),
                  std::make_move_iterator(oscillators.end()));
}

void correctPairs(std::vector<Trace>& traces) {
    const double half = 10 * math::log10(2.0);
    for (Trace& trace : traces) {
        for (TracePoint& point : trace.points) point.level -= half;
    }
}

Analyses analyseTraces(std::vector<Trace>& traces, const AnalysisOptions& options, const LimitMask* mask) {
    Analyses result;
    if (options.hat) applyThreeCorneredHat(traces, result.warnings);
    if (options.pair) correctPairs(traces);
    std::vector<CarrierChoice> carriers = settleCarriers(traces, options, result.warnings);
    // A plot file's frequencies all at or below the carrier given with -c leave no offset.
    for (std::size_t i = traces.size(); i-- > 0;) {
        if (!traces[i].points.empty()) continue;
        result.warnings.push_back({traces[i].source, 0,
                                   traces[i].caption + ": no frequency lies above the carrier " +
                                       frequencyText(carriers[i].hertz) + ", so no offset is left to draw"});
        traces.erase(traces.begin() + static_cast<std::ptrdiff_t>(i));
        carriers.erase(carriers.begin() + static_cast<std::ptrdiff_t>(i));
    }
    std::vector<std::optional<FloorMargin>> margins = floorMargins(traces, options.marginThreshold);
    std::vector<std::vector<TracePoint>> floorLimited(traces.size());
    std::vector<std::vector<TracePoint>> measured(traces.size());  // the levels before the floor's subtraction
    if (options.subtractFloor) {
        for (std::size_t i = 0; i < traces.size(); ++i) {
            if (margins[i]) measured[i] = traces[i].points;
        }
        floorLimited = subtractFloors(traces, margins);
    }
    for (std::size_t i = 0; i < traces.size(); ++i) {
        result.traces.push_back(analyseOne(traces[i], carriers[i], std::move(margins[i]), std::move(floorLimited[i]),
                                           options, mask, result.warnings));
        auto sameLevel = [](const TracePoint& a, const TracePoint& b) { return a.level == b.level; };
        if (!measured[i].empty() && !std::equal(measured[i].begin(), measured[i].end(), traces[i].points.begin(),
                                                traces[i].points.end(), sameLevel)) {
            result.traces.back().measured = std::move(measured[i]);
        }
    }
    for (TraceAnalysis& analysis : result.traces) {
        analysis.pairCorrected = options.pair;
        analysis.density = options.density;
        if (analysis.trace->layout == "hat") analysis.hat = analysis.trace->part.front();
        if (options.density != Density::L) {
            std::vector<TracePoint> shown = drawnPoints(analysis);
            for (TracePoint& point : shown) {
                point.level = densityOf(options.density, point.level, point.offset, analysis.carrier.hertz);
            }
            analysis.shown = std::move(shown);
        }
    }
    if (options.relativeTo) setAgainst(result, *options.relativeTo);
    return result;
}

}  // namespace csv2pnp
