#include "pnpplot/chart_input.h"

#include <algorithm>
#include <cmath>

#include "report/summary_text.h"
#include "units/si_units.h"

namespace csv2pnp {

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
std::vector<std::string> legendNotes(const TraceAnalysis& analysis) {
    const CarrierChoice& carrier = analysis.carrier;
    std::string note = "carrier " + withPrefix(carrier.hertz, "Hz");
    if (carrier.assumed()) note += " (assumed)";
    std::vector<std::string> notes{note};
    if (carrier.normalisedFrom) notes.push_back("normalised from " + withPrefix(*carrier.normalisedFrom, "Hz"));
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
    return notes;
}

ChartInput chartInputOf(const std::vector<TraceAnalysis>& analyses, const PlotOptions& options, const LimitMask* mask) {
    ChartInput input;
    for (const TraceAnalysis& analysis : analyses) {
        ChartLine line;
        line.caption = analysis.trace->caption;
        line.group = analysis.trace->group;
        line.floor = analysis.trace->floor;
        line.points = &drawnPoints(analysis);
        line.notes = legendNotes(analysis);
        if (analysis.floorMargin) {
            for (const MarginRange& range : analysis.floorMargin->below)
                line.marginRanges.push_back({range.from, range.to});
        }
        for (const SpurFigures& spur : analysis.spurs) line.spurPeaks.push_back({spur.spur.offset, spur.spur.level});
        if (analysis.mask) line.failingPoints = analysis.mask->verdict.failing;
        line.floorLimited = analysis.floorLimited;
        input.lines.push_back(std::move(line));
    }
    input.title = options.title.value_or(defaultTitle(analyses));
    input.band = options.analysis.band;
    if (!input.band) {
        // Without -r each trace is integrated over its whole range: the band spans them all.
        input.band = OffsetBand{INFINITY, -INFINITY};
        bool alike = true;
        for (const TraceAnalysis& analysis : analyses) {
            input.band->from = std::min(input.band->from, analysis.firstOffset);
            input.band->to = std::max(input.band->to, analysis.lastOffset);
            alike = alike && analysis.firstOffset == analyses.front().firstOffset &&
                    analysis.lastOffset == analyses.front().lastOffset;
        }
        if (!alike) input.bandLabel = "integrated over each trace's whole range";
    }
    if (mask) input.mask = mask->points;
    input.dark = options.dark;
    input.marginThreshold = options.analysis.marginThreshold;
    return input;
}

}  // namespace csv2pnp
