#include "report/summary_text.h"

#include <algorithm>
#include <cmath>
#include <string_view>

#include "traces/trace_reader.h"
#include "units/si_units.h"

namespace csv2pnp {

const char* const figureOverflows = "overflows: the levels are beyond what a double holds";

namespace {

constexpr std::size_t nameColumn = 14;
constexpr std::size_t labelColumn = 10;
constexpr std::size_t rangesShown = 8;
const char* const overflows = figureOverflows;

}  // namespace

std::string offsetText(double hertz) { return withPrefix(hertz, "Hz", 5); }

namespace {

void writeField(SummaryFields& out, std::string_view name, const std::string& value, bool failing = false) {
    out.push_back(SummaryField{std::string(name), value, failing, {}});
}

// "10 Hz     " and so on: an offset label in a column of its own, as wide as the widest label
// of its table and two spaces.
std::string labelled(double offset, std::size_t column) {
    std::string label = offsetText(offset);
    return label + std::string(column - label.size(), ' ');
}

template <typename Row, typename OffsetOf>
std::size_t labelColumnOf(const std::vector<Row>& rows, OffsetOf offsetOf) {
    std::size_t column = labelColumn;
    for (const Row& row : rows) column = std::max(column, offsetText(offsetOf(row)).size() + 2);
    return column;
}

// Characters, not bytes: a cell may hold "²".
std::size_t utf8Length(const std::string& text) {
    std::size_t length = 0;
    for (char c : text) length += (static_cast<unsigned char>(c) & 0xc0) != 0x80;
    return length;
}

std::string decibels(double value, int decimals) { return withDecimals(value, decimals) + " dB"; }

// The spot table, in the density chosen: "spot noise" for L, "spot Sphi" and so on.
void writeSpotNoise(SummaryFields& out, const TraceAnalysis& analysis) {
    const DensityInfo& density = densityInfo(analysis.density);
    const std::string name = analysis.density == Density::L ? "spot noise" : "spot " + std::string(density.name);
    bool first = true;
    const std::size_t column = labelColumnOf(analysis.spotNoise, [](const SpotLevel& spot) { return spot.offset; });
    for (const SpotLevel& spot : analysis.spotNoise) {
        std::string text = labelled(spot.offset, column);
        if (!spot.inside) {
            text += "outside the trace";
        } else {
            double value = analysis.density == Density::L ? spot.level : spot.density;
            text += withDecimals(value, 2) + " " + std::string(density.unit);
        }
        if (spot.spurLeftOut) text += ", spur at " + offsetText(*spot.spurLeftOut) + " left out";
        writeField(out, first ? name : "", text);
        first = false;
    }
}

// With -r given again: a row a band, the first band's included.
void writeBands(SummaryFields& out, const TraceAnalysis& analysis) {
    if (analysis.moreBands.empty()) return;
    out.push_back({"bands", "", false, {"offsets", "phase noise", "RMS phase", "RMS jitter", "residual FM"}});
    std::vector<BandResult> bands{{analysis.band, analysis.integration}};
    bands.insert(bands.end(), analysis.moreBands.begin(), analysis.moreBands.end());
    for (const BandResult& band : bands) {
        if (!band.figures) {
            out.push_back({"",
                           "",
                           false,
                           {offsetText(band.asked.from) + " to " + offsetText(band.asked.to), "nothing: no overlap", "",
                            "", ""}});
            continue;
        }
        const NoiseFigures& figures = band.figures->figures;
        const NoiseIntegral& integral = band.figures->integral;
        out.push_back({"",
                       "",
                       false,
                       {offsetText(integral.from) + " to " + offsetText(integral.to) +
                            (band.figures->clipped ? " (clipped)" : ""),
                        phaseNoiseText(figures.integratedPhaseNoise),
                        std::isfinite(figures.rmsPhase) ? significant(figures.rmsPhase * 1000, 5) + " mrad"
                                                        : rmsPhaseText(figures.rmsPhase, figures.rmsPhaseDegrees),
                        jitterText(figures.rmsJitter), residualFmText(figures.residualFm)}});
    }
}

// "4.5 deg" as the file gives it; empty when it gives none.
std::string givenText(const GivenFigure& figure) {
    return figure.value.empty() ? "" : figure.value + (figure.unit.empty() ? "" : " " + figure.unit);
}

// The instrument's own integrated figures beside pnpplot's over the same range.
void writeInstrument(SummaryFields& out, const TraceAnalysis& analysis) {
    const InstrumentRecord& record = *analysis.trace->instrument;
    bool first = true;
    for (const InstrumentComparison& comparison : analysis.instrument) {
        const InstrumentIntegration& given = comparison.given;
        std::string text = withDecimals(given.noiseDbc, 3) + " dBc over " + offsetText(given.band.from) + " to " +
                           offsetText(given.band.to) + (record.model.empty() ? "" : " (" + record.model + ")");
        if (!comparison.notCompared.empty()) {
            text += ", not compared: " + comparison.notCompared;
        } else if (!comparison.ours) {
            text += ", not compared: the range lies outside the trace";
        } else {
            const BandFigures& ours = *comparison.ours;
            text += ", pnpplot " + phaseNoiseText(ours.figures.integratedPhaseNoise);
            if (ours.clipped) {
                text += " over " + offsetText(ours.integral.from) + " to " + offsetText(ours.integral.to);
            }
            if (comparison.differenceDb && std::isfinite(*comparison.differenceDb)) {
                text += ", " + withDecimals(*comparison.differenceDb, 3) + " dB from the instrument's";
            }
        }
        writeField(out, first ? "instrument" : "", text);
        first = false;
        std::string figures;
        for (const auto& [name, figure] : {std::pair<const char*, const GivenFigure*>{"PM ", &given.rmsPhase},
                                           {"FM ", &given.residualFm},
                                           {"jitter ", &given.jitter}}) {
            if (!figure->value.empty()) figures += (figures.empty() ? "" : ", ") + (name + givenText(*figure));
        }
        if (!figures.empty()) writeField(out, "", "its " + figures);
    }
    if (record.smoothed) {
        writeField(out, "",
                   "the instrument smoothed the trace (Smoothing ON): its figure rests on other data than "
                   "the export");
    }
    if (record.spursRemoved) {
        writeField(out, "",
                   "the instrument removed its spurs (Spurious Removal ON): its figure rests on other data "
                   "than the export");
    }
}

void writeComparisons(SummaryFields& out, const TraceAnalysis& analysis) {
    if (analysis.hat) {
        writeField(
            out, "hat",
            std::string("oscillator ") + *analysis.hat + " of the three-cornered hat of " + analysis.trace->source);
    }
    if (analysis.pairCorrected) {
        writeField(out, "pair", "lowered by 3.0103 dB: one of two alike oscillators measured against each other");
    }
    if (!analysis.relativeTo.empty()) {
        if (!analysis.relative) {
            writeField(out, "relative", "to " + analysis.relativeTo + ": no offset in common");
        } else {
            const Difference& d = *analysis.relative;
            writeField(out, "relative",
                       "to " + analysis.relativeTo + ": best " + decibels(d.best, 2) + " at " + offsetText(d.bestAt) +
                           ", worst " + decibels(d.worst, 2) + " at " + offsetText(d.worstAt) +
                           " (a negative difference is an improvement)");
        }
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
    const std::size_t column = labelColumnOf(analysis.spurs, [](const SpurFigures& spur) { return spur.spur.offset; });
    for (const SpurFigures& spur : analysis.spurs) {
        writeField(out, "",
                   labelled(spur.spur.offset, column) + withDecimals(spur.spur.level, 2) + " dBc/Hz, " +
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

// One deviation's lines: "ADEV  tau 10 us   3.926e-08", a unit after a time deviation.
void writeDeviation(SummaryFields& out, const TraceAnalysis& analysis, const char* name,
                    const std::vector<DeviationPoint>& points, const char* unit, bool threePerDecade) {
    if (points.empty()) {
        writeField(out, name,
                   analysis.carrier.hertz > 0
                       ? std::string("none: no tau of ") + (threePerDecade ? "1, 2 or 5 10^k" : "10^k") +
                             " s has 1/tau a decade inside the offsets " + offsetText(analysis.firstOffset) + " to " +
                             offsetText(analysis.lastOffset)
                       : std::string("none: the carrier is 0 Hz"));
        return;
    }
    bool first = true;
    for (const DeviationPoint& point : points) {
        std::string tau = withPrefix(point.tau, "s");
        writeField(out, first ? name : "",
                   "tau " + tau + std::string(tau.size() < 8 ? 8 - tau.size() : 1, ' ') +
                       (std::isfinite(point.value) ? scientificText(point.value, 4) + unit : overflows));
        first = false;
    }
}

void writeDeviations(SummaryFields& out, const TraceAnalysis& analysis) {
    const TimeDeviations& deviations = *analysis.deviations;
    const DeviationsAsked& asked = deviations.asked;
    if (asked.allan) writeDeviation(out, analysis, "ADEV", deviations.allan, "", asked.threePerDecade);
    if (asked.modified) writeDeviation(out, analysis, "MDEV", deviations.modified, "", asked.threePerDecade);
    if (asked.time) writeDeviation(out, analysis, "TDEV", deviations.time, " s", asked.threePerDecade);
}

// "h-1", "h0", "h2": the name of h_alpha for the term f^-i.
std::string hName(int i) { return "h" + std::to_string(2 - i); }

std::string dbText(double db) { return std::isfinite(db) ? withDecimals(db, 3) + " dB" : overflows; }

void writeFit(SummaryFields& out, const TraceAnalysis& analysis) {
    const FitFigures& figures = *analysis.fit;
    if (!figures.fit) {
        writeField(out, "fit",
                   "none: fewer than two points to fit (spurs and points below the margin left out), or levels "
                   "beyond what a double holds");
        return;
    }
    const PowerLawFit& fit = *figures.fit;
    const double margin = analysis.floorMargin ? analysis.floorMargin->threshold : 0;
    writeField(out, "fit",
               offsetText(fit.from) + " to " + offsetText(fit.to) + ", " + std::to_string(fit.points) +
                   (fit.points == 1 ? " point" : " points") + "; spurs" +
                   (analysis.floorMargin ? " and points less than " + decibels(margin, 0) + " above the floor" : "") +
                   " left out");
    out.push_back({"", "", false, {"term", "L", "at 1 Hz", "S_y"}});
    for (const PowerLawTerm& term : fit.terms) {
        out.push_back({"",
                       "",
                       false,
                       {std::string(noiseTypeName(term.i)), "f^" + std::to_string(-term.i),
                        withDecimals(term.level1Hz, 2) + " ± " + withDecimals(term.levelSigma, 2) + " dBc/Hz",
                        hName(term.i) + " = " + (std::isfinite(term.h) ? scientificText(term.h, 4) : "none")}});
    }
    std::string corners;
    for (const FitCorner& corner : fit.corners) {
        corners += (corners.empty() ? "" : "; ") + offsetText(corner.offset) + ", " +
                   std::string(noiseTypeName(corner.steeper)) + " = " + std::string(noiseTypeName(corner.shallower)) +
                   (corner.inside ? "" : " (beyond the offsets fitted)");
    }
    writeField(out, "corners", corners.empty() ? "none: one term" : corners);
    // Neighbouring decades with the same term in one span.
    std::string dominant;
    for (std::size_t k = 0; k < fit.dominant.size();) {
        std::size_t end = k;
        while (end + 1 < fit.dominant.size() && fit.dominant[end + 1].i == fit.dominant[k].i) ++end;
        dominant += (dominant.empty() ? "" : "; ") + offsetText(fit.dominant[k].from) + " to " +
                    offsetText(fit.dominant[end].to) + " " + std::string(noiseTypeName(fit.dominant[k].i));
        k = end + 1;
    }
    writeField(out, "dominant", dominant);
    writeField(out, "fit error", "largest " + dbText(fit.maxError) + ", RMS " + dbText(fit.rmsError));
    if (figures.allan.empty()) return;
    writeField(out, "fit ADEV",
               "f_h = " + offsetText(figures.bandwidth) + (figures.bandwidthGiven ? " (--fh)" : " (the last offset)") +
                   " for the phase terms");
    std::vector<std::string> heads{"tau"};
    for (const PowerLawTerm& term : fit.terms) heads.emplace_back(noiseTypeName(term.i));
    heads.insert(heads.end(), {"the terms", "the trace"});
    out.push_back({"", "", false, heads});
    auto sigma = [](double value) { return std::isfinite(value) ? scientificText(value, 4) : overflows; };
    for (const FitAllan& row : figures.allan) {
        std::vector<std::string> cells{withPrefix(row.tau, "s")};
        for (double term : row.terms) cells.push_back(sigma(term));
        cells.push_back(sigma(row.total));
        cells.push_back(sigma(row.trace));
        out.push_back({"", "", false, cells});
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
    if (band.spurs == SpurTreatment::measured && inBand > 0)
        basis.push_back(inBand == 1 ? "its spur as measured" : "its " + std::to_string(inBand) + " spurs as measured");
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
                   (trace.layoutTitle.empty() ? std::string(layout->title) : trace.layoutTitle) + " (" +
                       std::string(layout->name) + ")" + (trace.layoutNote.empty() ? "" : ": " + trace.layoutNote));
    }
    // A plot file's TIM record: when its writer made it (csv2pnp writes the conversion's time).
    if (!trace.time.empty()) writeField(out, "file time", trace.time + " UTC (TIM record)");
    const CarrierChoice& carrier = analysis.carrier;
    std::string from(carrierSourceWords(carrier.source).summary);
    if (carrier.normalisedFrom) from = "normalised from " + frequencyText(*carrier.normalisedFrom) + ", " + from;
    writeField(out, "carrier", frequencyText(carrier.hertz) + " (" + from + ")");
    writeField(out, "points",
               std::to_string(trace.points.size()) + ", offsets " + offsetText(analysis.firstOffset) + " to " +
                   offsetText(analysis.lastOffset));
    if (trace.leftOut > 0) {
        writeField(out, "left out", std::to_string(trace.leftOut) + " (offset at or below 0, or not a finite number)");
    }
    if (trace.withoutPower > 0) {
        writeField(out, "left out",
                   std::to_string(trace.withoutPower) + " (came out at or below no power in the three-cornered hat)");
    }
    if (trace.repeated > 0) {
        writeField(out, "repeated",
                   std::to_string(trace.repeated) + " at an offset given again later; the last is used");
    }
    if (analysis.smoothed) {
        writeField(out, "smoothing",
                   plainNumber(analysis.smoothed->decades) + " decades" + ", in the spot noise and the chart only");
    }
    writeComparisons(out, analysis);
    writeSpotNoise(out, analysis);
    writeIntegration(out, analysis);
    writeBands(out, analysis);
    if (!analysis.instrument.empty()) writeInstrument(out, analysis);
    if (!trace.floor) writeSpurs(out, analysis);
    if (analysis.floorMargin) {
        writeFloorMargin(out, *analysis.floorMargin, analysis.integration && analysis.integration->floorSubtracted);
    }
    if (analysis.mask) writeMask(out, *analysis.mask);
    if (analysis.deviations) writeDeviations(out, analysis);
    if (analysis.fit) writeFit(out, analysis);
    return out;
}

void writeSummaryText(std::ostream& out, const TraceAnalysis& analysis) {
    out << analysis.trace->caption << "\n";
    const SummaryFields fields = summaryFields(analysis);
    for (std::size_t i = 0; i < fields.size(); ++i) {
        const SummaryField& field = fields[i];
        // A name longer than its column still leaves a space before the value.
        std::size_t padding = field.name.size() < nameColumn ? nameColumn - field.name.size() : 1;
        out << "  " << field.name << std::string(padding, ' ');
        if (field.cells.empty()) {
            out << field.value << "\n";
            continue;
        }
        // A table: the rows of the run in columns as wide as their widest cell.
        std::size_t end = i;
        while (end < fields.size() && !fields[end].cells.empty()) ++end;
        std::vector<std::size_t> widths(field.cells.size(), 0);
        for (std::size_t r = i; r < end; ++r) {
            for (std::size_t c = 0; c < fields[r].cells.size() && c < widths.size(); ++c) {
                widths[c] = std::max(widths[c], utf8Length(fields[r].cells[c]));
            }
        }
        for (std::size_t r = i; r < end; ++r) {
            if (r > i) out << "  " << std::string(nameColumn, ' ');
            std::string row;
            for (std::size_t c = 0; c < fields[r].cells.size(); ++c) {
                const std::string& cell = fields[r].cells[c];
                row +=
                    cell + (c + 1 < fields[r].cells.size() ? std::string(widths[c] - utf8Length(cell) + 2, ' ') : "");
            }
            out << row.substr(0, row.find_last_not_of(' ') + 1) << "\n";
        }
        i = end - 1;
    }
}

}  // namespace csv2pnp
