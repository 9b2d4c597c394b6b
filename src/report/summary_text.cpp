#include "report/summary_text.h"

#include <string>
#include <string_view>

#include "units/si_units.h"

namespace csv2pnp {

namespace {

constexpr std::size_t nameColumn = 14;

std::string offsetText(double hertz) { return withPrefix(hertz, "Hz", 5); }

// A name longer than its column still leaves a space before the value.
void writeField(std::ostream& out, std::string_view name, const std::string& value) {
    std::size_t padding = name.size() < nameColumn ? nameColumn - name.size() : 1;
    out << "  " << name << std::string(padding, ' ') << value << "\n";
}

void writeSpotNoise(std::ostream& out, const std::vector<SpotLevel>& spots) {
    bool first = true;
    for (const SpotLevel& spot : spots) {
        std::string label = withPrefix(spot.offset, "Hz");
        writeField(out, first ? "spot noise" : "",
                   label + std::string(label.size() < 10 ? 10 - label.size() : 1, ' ') + withDecimals(spot.level, 2) +
                       " dBc/Hz");
        first = false;
    }
}

}  // namespace

void writeSummaryText(std::ostream& out, const TraceAnalysis& analysis) {
    const Trace& trace = *analysis.trace;
    out << trace.caption << "\n";
    writeField(out, "source", trace.source);
    if (!trace.time.empty()) writeField(out, "measured", trace.time + " UTC");
    writeField(out, "carrier", withPrefix(analysis.carrier.hertz, "Hz") + " (" + analysis.carrier.from + ")");
    writeField(out, "points", std::to_string(trace.points.size()) + ", offsets " + offsetText(analysis.firstOffset) +
                                  " to " + offsetText(analysis.lastOffset));
    if (trace.leftOut > 0) {
        writeField(out, "left out", std::to_string(trace.leftOut) + " (offset at or below 0, or not a finite number)");
    }
    writeSpotNoise(out, analysis.spotNoise);

    const OffsetBand& band = analysis.band;
    if (!analysis.integration) {
        writeField(out, "integrated", analysis.bandGiven ? "nothing: the range " + offsetText(band.from) + " to " +
                                                              offsetText(band.to) + " does not overlap the trace"
                                                        : std::string("nothing: the trace has a single offset"));
        return;
    }
    const BandFigures& integration = *analysis.integration;
    std::string span = offsetText(integration.integral.from) + " to " + offsetText(integration.integral.to);
    if (integration.clipped) {
        span += " (the range " + offsetText(band.from) + " to " + offsetText(band.to) + " clipped to the trace)";
    }
    writeField(out, "integrated", span);
    const NoiseFigures& figures = integration.figures;
    writeField(out, "phase noise", withDecimals(figures.integratedPhaseNoise, 3) + " dBc");
    writeField(out, "RMS phase", significant(figures.rmsPhase * 1000, 5) + " mrad, " +
                                     significant(figures.rmsPhaseDegrees, 5) + " deg");
    writeField(out, "RMS jitter",
               figures.rmsJitter ? withPrefix(*figures.rmsJitter, "s", 5) : std::string("none: the carrier is 0 Hz"));
    writeField(out, "residual FM", significant(figures.residualFm, 6) + " Hz");
}

}  // namespace csv2pnp
