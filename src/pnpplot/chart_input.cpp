#include "pnpplot/chart_input.h"

#include <algorithm>
#include <cmath>

#include "report/summary_text.h"
#include "numeric/portable_math.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

// With --relative-to the main chart draws the differences from one trace, not the traces.
bool anyRelative(const std::vector<TraceAnalysis>& analyses) {
    return std::any_of(analyses.begin(), analyses.end(),
                       [](const TraceAnalysis& analysis) { return !analysis.relativeTo.empty(); });
}

}  // namespace

std::string defaultTitle(const std::vector<TraceAnalysis>& analyses) {
    std::vector<std::string> measurements;
    std::string title;
    for (const TraceAnalysis& analysis : analyses) {
        const std::string& measurement = analysis.trace->measurement;
        if (std::find(measurements.begin(), measurements.end(), measurement) != measurements.end()) continue;
        title += (measurements.empty() ? "" : ", ") + measurement;
        measurements.push_back(measurement);
    }
    if (title.size() > longestTitle && measurements.size() > 2) {
        title = measurements[0] + ", " + measurements[1] + " and " + std::to_string(measurements.size() - 2) + " more";
    }
    return title;
}

// Under a legend entry's caption: the carrier; a phase-noise trace's headline figures over
// the band, as the summary has them; whether its levels are smoothed.
// The carrier the density's mask stands for: any for L, S_phi and S_nu, which do not depend on
// it; for S_y and S_x the one every trace shares, or nothing.
std::optional<double> sharedCarrier(const std::vector<TraceAnalysis>& analyses, Density density) {
    if (density == Density::L || density == Density::Sphi || density == Density::Snu) return 1.0;
    std::optional<double> carrier;
    for (const TraceAnalysis& analysis : analyses) {
        if (carrier && *carrier != analysis.carrier.hertz) return std::nullopt;
        carrier = analysis.carrier.hertz;
    }
    return carrier;
}

std::vector<std::string> legendNotes(const TraceAnalysis& analysis) {
    const CarrierChoice& carrier = analysis.carrier;
    std::string note = "carrier " + frequencyText(carrier.hertz);
    if (carrier.assumed()) note += " (assumed)";
    std::vector<std::string> notes{note};
    if (carrier.normalisedFrom) notes.push_back("normalised from " + frequencyText(*carrier.normalisedFrom));
    if (!analysis.trace->floor && analysis.integration) {
        const BandFigures& band = *analysis.integration;
        notes.push_back(phaseNoiseText(band.figures.integratedPhaseNoise) + ", jitter " +
                        jitterText(band.figures.rmsJitter));
        if (band.clipped) {
            notes.push_back("over " + offsetText(band.integral.from) + " to " + offsetText(band.integral.to) + " only");
        }
        std::vector<std::string> basis = figureBasis(analysis);
        std::string joined;
        for (const std::string& item : basis) joined += (joined.empty() ? "" : ", ") + item;
        if (!joined.empty()) notes.push_back(joined);
    }
    if (analysis.smoothed) notes.push_back("smoothed over " + plainNumber(analysis.smoothed->decades) + " decades");
    if (analysis.pairCorrected) notes.emplace_back("one of a pair: 3.0103 dB below the measurement");
    if (analysis.hat) notes.emplace_back("from a three-cornered hat");
    return notes;
}

ChartInput chartInputOf(const std::vector<TraceAnalysis>& analyses, const PlotOptions& options, const LimitMask* mask) {
    ChartInput input;
    const AnalysisOptions& analysisOptions = options.analysis;
    const Density density = analysisOptions.density;
    // Set against another trace, each trace is drawn as its difference; marks of levels have no
    // place there.
    const bool relative = anyRelative(analyses);
    for (const TraceAnalysis& analysis : analyses) {
        if (relative && !analysis.relative) continue;
        ChartLine line;
        line.caption = analysis.trace->caption;
        line.group = analysis.trace->group;
        line.floor = analysis.trace->floor;
        line.points = analysis.shown ? &*analysis.shown : &drawnPoints(analysis);
        line.notes = legendNotes(analysis);
        if (analysis.floorMargin) {
            for (const MarginRange& range : analysis.floorMargin->below)
                line.marginRanges.push_back({range.from, range.to});
        }
        if (!relative) {
            // Marks stand where the levels are drawn: in the density shown.
            auto shown = [&](std::vector<TracePoint> points) {
                for (TracePoint& point : points) {
                    point.level = densityOf(density, point.level, point.offset, analysis.carrier.hertz);
                }
                return points;
            };
            for (const SpurFigures& spur : analysis.spurs) {
                line.spurPeaks.push_back({spur.spur.offset, spur.spur.level});
            }
            line.spurPeaks = shown(std::move(line.spurPeaks));
            if (analysis.mask) line.failingPoints = shown(analysis.mask->verdict.failing);
            line.floorLimited = shown(analysis.floorLimited);
            if (analysis.measured) line.measured = shown(*analysis.measured);
            if (analysis.fit && analysis.fit->fit) {
                // Each term from the first offset fitted to the last, the corners on the terms.
                const PowerLawFit& fit = *analysis.fit->fit;
                auto on = [](const PowerLawTerm& term, double f) {
                    return TracePoint{f, term.level1Hz - 10 * term.i * math::log10(f)};
                };
                ChartFit drawn;
                for (const PowerLawTerm& term : fit.terms)
                    drawn.lines.emplace_back(on(term, fit.from), on(term, fit.to));
                for (const FitCorner& corner : fit.corners) {
                    auto term = std::find_if(fit.terms.begin(), fit.terms.end(),
                                             [&](const PowerLawTerm& t) { return t.i == corner.steeper; });
                    drawn.corners.push_back(on(*term, corner.offset));
                    drawn.cornerLabels.push_back(drawnWithPrefix(corner.offset, "Hz", 3));
                }
                for (auto& [a, b] : drawn.lines) {
                    a = shown({a}).front();
                    b = shown({b}).front();
                }
                drawn.corners = shown(std::move(drawn.corners));
                line.fit = std::move(drawn);
            }
        }
        input.lines.push_back(std::move(line));
    }
    input.levelLabel = std::string(densityInfo(density).label);
    input.levelUnit = std::string(densityInfo(density).unit);
    if (relative) {
        auto against = std::find_if(analyses.begin(), analyses.end(),
                                    [](const TraceAnalysis& analysis) { return !analysis.relativeTo.empty(); });
        input.zeroLine = against->relativeTo;
        input.levelLabel = "difference from " + against->relativeTo + " (dB)";
        input.levelUnit = "dB";
    }
    input.moreBands = analysisOptions.moreBands;
    input.title = options.title.value_or(defaultTitle(analyses));
    // Without -r each trace is integrated over its whole range: nothing is shaded, the legend
    // says so.
    input.band = options.analysis.band;
    input.wholeRanges = !input.band;
    // The mask is a limit of L: drawn where it means the same for every trace shown.
    if (mask && !relative && sharedCarrier(analyses, density)) {
        for (const TracePoint& point : mask->points) {
            input.mask.push_back(
                {point.offset, densityOf(density, point.level, point.offset, *sharedCarrier(analyses, density))});
        }
    }
    input.dark = options.dark;
    input.marginThreshold = options.analysis.marginThreshold;
    input.offsetRange = options.offsetRange;
    input.levelRange = options.levelRange;
    input.size = options.size;
    return input;
}

std::optional<StabilityInput> stabilityInputOf(const std::vector<TraceAnalysis>& analyses, const PlotOptions& options) {
    const DeviationsAsked& asked = options.analysis.deviations;
    if (!asked.allan && !asked.modified && !asked.time) return std::nullopt;
    StabilityInput input;
    input.title = "Frequency stability: " + options.title.value_or(defaultTitle(analyses));
    input.dark = options.dark;
    // The hues and shades of the main chart, which with --relative-to draws the differences
    // alone: the groups of the lines it draws first, in its order, then those of the rest.
    const bool relative = anyRelative(analyses);
    std::vector<std::string> groups;
    std::vector<std::size_t> members;  // per group: its traces that are not floors
    std::vector<std::size_t> hueOf(analyses.size()), memberOf(analyses.size());
    for (bool drawn : {true, false}) {
        for (std::size_t i = 0; i < analyses.size(); ++i) {
            const Trace& trace = *analyses[i].trace;
            if ((!relative || analyses[i].relative) != drawn) continue;
            auto group = std::find(groups.begin(), groups.end(), trace.group);
            if (group == groups.end()) {
                group = groups.insert(groups.end(), trace.group);
                members.push_back(0);
            }
            hueOf[i] = static_cast<std::size_t>(group - groups.begin());
            memberOf[i] = trace.floor ? 0 : members[hueOf[i]]++;
        }
    }
    for (std::size_t i = 0; i < analyses.size(); ++i) {
        const TraceAnalysis& analysis = analyses[i];
        const std::size_t hue = hueOf[i], member = memberOf[i];
        if (!analysis.deviations) continue;
        const TimeDeviations& deviations = *analysis.deviations;
        const std::pair<const std::vector<DeviationPoint>*, std::pair<const char*, DeviationMarker>> kinds[] = {
            {&deviations.allan, {"ADEV", DeviationMarker::circle}},
            {&deviations.modified, {"MDEV", DeviationMarker::square}},
            {&deviations.time, {"TDEV", DeviationMarker::triangle}}};
        for (const auto& [points, kind] : kinds) {
            if (points->empty()) continue;
            StabilitySeries series{analysis.trace->caption + " " + kind.first, hue, kind.second, {}, member};
            for (const DeviationPoint& point : *points) series.points.push_back({point.tau, point.value});
            input.series.push_back(std::move(series));
        }
    }
    return input;
}

}  // namespace csv2pnp
