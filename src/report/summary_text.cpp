#include "report/summary_text.h"

#include <cmath>
#include <string_view>

#include "traces/trace_reader.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

constexpr std::size_t nameColumn = 14;
constexpr std::size_t labelColumn = 10;
constexpr std::size_t rangesShown = 8;
constexpr const char* overflows = "overflows: the levels are beyond what a double holds";

}  // namespace

std::string offsetText(double hertz) { return withPrefix(hertz, "Hz", 5); }

namespace {

void writeField(SummaryFields& out, std::string_view name, const std::string& value, bool failing = false) {
    out.push_back(SummaryField{std::string(name), value, failing});
}

// "10 Hz     " and so on: an offset label in a column of its own.
std::string labelled(double offset) {
    std::string label = offsetText(offset);
    return label + std::string(label.size() < labelColumn ? labelColumn - label.size() : 1, ' ');
}

std::string decibels(double value, int decimals) { return withDecimals(value, decimals) + " dB"; }

void writeSpotNoise(SummaryFields& out, const std::vector<SpotLevel>& spots) {
    bool first = true;
    for (const SpotLevel& spot : spots) {
        std::string text = labelled(spot.offset) + withDecimals(spot.level, 2) + " dBc/Hz";
        if (spot.spurLeftOut) text += ", spur at " + offsetText(*spot.spurLeftOut) + " left out";
        writeField(out, first ? "spot noise" : "", text);
        first = false;
    }
}

std::size_t spursInBand(const TraceAnalysis& analysis) {
    std::size_t count = 0;
    for (const SpurFigures& spur : analysis.spurs) count += spur.inBand;
    return count;
}

void writeIntegration(SummaryFields& out, const TraceAnalysis& analysis) {
    const OffsetBand& band = analysis.band;
    if (!analysis.integration) {
        writeField(out, "integrated",
                   analysis.bandGiven ? "nothing: the range " + offsetText(band.from) + " to " + offsetText(band.to) +
                                            " does not overlap the trace"
                                      : std::string("nothing: the trace has a single offset"));
        return;
    }
    const BandFigures& integration = *analysis.integration;
    std::string span = offsetText(integration.integral.from) + " to " + offsetText(integration.integral.to);
    if (integration.clipped) {
        span += " (the range " + offsetText(band.from) + " to " + offsetText(band.to) + " clipped to the trace)";
    }
    for (const std::string& basis : figureBasis(analysis)) span += ", " + basis;
    std::size_t inBand = spursInBand(analysis);
    if (inBand > 0 && integration.spurs == SpurTreatment::measured) {
        span += inBand == 1 ? ", its spur as measured" : ", its " + std::to_string(inBand) + " spurs as measured";
    }
    writeField(out, "integrated", span);
    if (integration.pointsBelowMargin > 0) {
        writeField(out, "near floor",
                   std::to_string(integration.pointsBelowMargin) + " points of the band less than " +
                       decibels(analysis.floorMargin->threshold, 0) + " above the floor");
    }
    const NoiseFigures& figures = integration.figures;
    writeField(out, "phase noise", phaseNoiseText(figures.integratedPhaseNoise));
    writeField(out, "RMS phase", rmsPhaseText(figures.rmsPhase, figures.rmsPhaseDegrees));
    writeField(out, "RMS jitter", jitterText(figures.rmsJitter));
    writeField(out, "residual FM", residualFmText(figures.residualFm));
}

void writeSpurs(SummaryFields& out, const TraceAnalysis& analysis) {
    if (analysis.spurs.empty()) {
        writeField(out, "spurs", "none more than " + decibels(analysis.spurThreshold, 0) + " above the noise");
        return;
    }
    std::size_t inBand = 0;
    for (const SpurFigures& spur : analysis.spurs) inBand += spur.inBand;
    std::string together =
        inBand == 0
            ? "none in the band"
            : (inBand == analysis.spurs.size() ? "together " : std::to_string(inBand) + " in the band, together ") +
                  jitterText(analysis.spursJitter) + " RMS jitter";
    writeField(out, "spurs", std::to_string(analysis.spurs.size()) + ", " + together);
    for (const SpurFigures& spur : analysis.spurs) {
        writeField(out, "",
                   labelled(spur.spur.offset) + withDecimals(spur.spur.level, 2) + " dBc/Hz, " +
                       withDecimals(spur.spur.powerDbc, 3) + " dBc, " + jitterText(spur.jitter) +
                       (spur.inBand ? "" : " (outside the band)"));
    }
}

void writeFloorMargin(SummaryFields& out, const FloorMargin& margin, bool subtracted) {
    if (!margin.smallest) {
        writeField(out, "floor margin", "none: no point lies within the floor's offsets");
        return;
    }
    writeField(out, "floor margin",
               "smallest " + decibels(*margin.smallest, 2) + " at " + offsetText(margin.smallestAt));
    std::string below = "below " + decibels(margin.threshold, 0) + ": ";
    if (margin.below.empty()) writeField(out, "", "no point " + below.substr(0, below.size() - 2));
    for (std::size_t i = 0; i < margin.below.size() && i < rangesShown; ++i) {
        const MarginRange& range = margin.below[i];
        std::string offsets =
            range.from == range.to ? offsetText(range.from) : offsetText(range.from) + " to " + offsetText(range.to);
        writeField(
            out, "",
            below + offsets + " (" + std::to_string(range.points) + (range.points == 1 ? " point)" : " points)"));
    }
    if (margin.below.size() > rangesShown) {
        writeField(out, "",
                   "and " + std::to_string(margin.below.size() - rangesShown) + " more ranges, " +
                       std::to_string(margin.belowAt.size()) + " points below in all");
    }
    if (margin.floorLimited > 0) {
        writeField(out, "",
                   "floor-limited: " + std::to_string(margin.floorLimited) +
                       (margin.floorLimited == 1 ? " point" : " points") + " less than " +
                       decibels(floorLimitedMargin, 0) + " above the floor" +
                       (subtracted ? ", kept as measured: an upper bound" : ""));
    }
}

void writeAllan(SummaryFields& out, const TraceAnalysis& analysis) {
    const std::vector<AllanPoint>& allan = *analysis.allan;
    if (allan.empty()) {
        writeField(out, "ADEV",
                   analysis.carrier.hertz > 0
                       ? "none: no tau of 10^k s has 1/tau a decade inside the offsets " +
                             offsetText(analysis.firstOffset) + " to " + offsetText(analysis.lastOffset)
                       : std::string("none: the carrier is 0 Hz"));
        return;
    }
    bool first = true;
    for (const AllanPoint& point : allan) {
        std::string tau = withPrefix(point.tau, "s");
        writeField(out, first ? "ADEV" : "",
                   "tau " + tau + std::string(tau.size() < 8 ? 8 - tau.size() : 1, ' ') +
                       (std::isfinite(point.sigmaY) ? scientificText(point.sigmaY, 4) : overflows));
        first = false;
    }
}

void writeMask(SummaryFields& out, const MaskFigures& mask) {
    const MaskVerdict& verdict = mask.verdict;
    std::string file = " (" + mask.file + ")";
    std::string maskSpan = offsetText(verdict.maskSpan.from) + " to " + offsetText(verdict.maskSpan.to);
    if (verdict.judged == 0) {
        writeField(out, "mask", "not judged: no point lies within the mask's " + maskSpan + file, true);
        return;
    }
    std::string span = " from " + offsetText(verdict.judgedSpan.from) + " to " + offsetText(verdict.judgedSpan.to) +
                       " of the mask's " + maskSpan + ", ";
    if (verdict.passes()) {
        writeField(out, "mask",
                   "pass" + span + decibels(-*verdict.worst, 2) + " below the limit at the closest, at " +
                       offsetText(verdict.worstAt) + file);
    } else {
        writeField(out, "mask",
                   "FAIL" + span + std::to_string(verdict.above) + " of " + std::to_string(verdict.judged) +
                       " points above the limit, the worst " + decibels(*verdict.worst, 2) + " above at " +
                       offsetText(verdict.worstAt) + file,
                   true);
    }
}

}  // namespace

std::vector<std::string> figureBasis(const TraceAnalysis& analysis) {
    std::vector<std::string> basis;
    if (!analysis.integration) return basis;
    const BandFigures& band = *analysis.integration;
    if (band.floorSubtracted) basis.emplace_back("floor subtracted");
    std::size_t inBand = spursInBand(analysis);
    if (band.spurs == SpurTreatment::omit && inBand > 0)
        basis.emplace_back(inBand == 1 ? "spur omitted" : "spurs omitted");
    if (band.spurs == SpurTreatment::power && band.tones > 0) {
        basis.push_back(band.tones == 1 ? "its spur as a tone"
                                        : "its " + std::to_string(band.tones) + " spurs as tones");
    }
    return basis;
}

std::string phaseNoiseText(double dbc) { return std::isfinite(dbc) ? withDecimals(dbc, 3) + " dBc" : overflows; }

std::string rmsPhaseText(double radians, double degrees) {
    if (!std::isfinite(radians)) return overflows;
    return significant(radians * 1000, 5) + " mrad, " + significant(degrees, 5) + " deg";
}

std::string jitterText(std::optional<double> seconds) {
    if (!seconds) return "none: the carrier is 0 Hz";
    return std::isfinite(*seconds) ? figureWithPrefix(*seconds, "s", 5) : overflows;
}

std::string residualFmText(double hertz) { return std::isfinite(hertz) ? significant(hertz, 6) + " Hz" : overflows; }

SummaryFields summaryFields(const TraceAnalysis& analysis) {
    SummaryFields out;
    const Trace& trace = *analysis.trace;
    writeField(out, "source", trace.source);
    if (std::optional<LayoutInfo> layout = layoutNamed(trace.layout)) {
        writeField(out, "layout",
                   std::string(layout->title) + " (" + std::string(layout->name) + ")" +
                       (trace.layoutNote.empty() ? "" : ": " + trace.layoutNote));
    }
    // A plot file's TIM record: when its writer made it (csv2pnp writes the conversion's time).
    if (!trace.time.empty()) writeField(out, "file time", trace.time + " UTC (TIM record)");
    const CarrierChoice& carrier = analysis.carrier;
    std::string from(carrierSourceWords(carrier.source).summary);
    if (carrier.normalisedFrom) from = "normalised from " + withPrefix(*carrier.normalisedFrom, "Hz") + ", " + from;
    writeField(out, "carrier", withPrefix(carrier.hertz, "Hz") + " (" + from + ")");
    writeField(out, "points",
               std::to_string(trace.points.size()) + ", offsets " + offsetText(analysis.firstOffset) + " to " +
                   offsetText(analysis.lastOffset));
    if (trace.leftOut > 0) {
        writeField(out, "left out", std::to_string(trace.leftOut) + " (offset at or below 0, or not a finite number)");
    }
    if (trace.repeated > 0) {
        writeField(out, "repeated",
                   std::to_string(trace.repeated) + " at an offset given again later; the last is used");
    }
    if (analysis.smoothed) {
        writeField(out, "smoothing",
                   plainNumber(analysis.smoothed->decades) + " decades" + ", in the spot noise and the chart only");
    }
    writeSpotNoise(out, analysis.spotNoise);
    writeIntegration(out, analysis);
    if (!trace.floor) writeSpurs(out, analysis);
    if (analysis.floorMargin) {
        writeFloorMargin(out, *analysis.floorMargin, analysis.integration && analysis.integration->floorSubtracted);
    }
    if (analysis.mask) writeMask(out, *analysis.mask);
    if (analysis.allan) writeAllan(out, analysis);
    return out;
}

void writeSummaryText(std::ostream& out, const TraceAnalysis& analysis) {
    out << analysis.trace->caption << "\n";
    for (const SummaryField& field : summaryFields(analysis)) {
        // A name longer than its column still leaves a space before the value.
        std::size_t padding = field.name.size() < nameColumn ? nameColumn - field.name.size() : 1;
        out << "  " << field.name << std::string(padding, ' ') << field.value << "\n";
    }
}

}  // namespace csv2pnp
