#include "pnpplot/summary.h"

#include <cmath>

#include "chart/axes.h"
#include "figures/noise_figures.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

constexpr double pi = 3.14159265358979323846;

std::string offsetText(double hertz) { return withPrefix(hertz, "Hz", 5); }

void writeField(std::ostream& out, const char* name, const std::string& value) {
    out << "  " << name << std::string(14 - std::string(name).size(), ' ') << value << "\n";
}

void writeSpotNoise(std::ostream& out, const Trace& trace, double from, double to) {
    bool first = true;
    int lowest = static_cast<int>(std::ceil(std::log10(from))) - 1;
    for (int decade = lowest; decade <= 308; ++decade) {
        double offset = powerOfTen(decade);
        if (offset > to) break;
        if (offset < from) continue;
        std::optional<double> level = levelAt(trace.points, offset);
        if (!level) continue;
        std::string label = withPrefix(offset, "Hz");
        writeField(out, first ? "spot noise" : "", label + std::string(label.size() < 10 ? 10 - label.size() : 1, ' ') +
                                                       withDecimals(*level, 2) + " dBc/Hz");
        first = false;
    }
}

}  // namespace

void writeSummary(std::ostream& out, const Trace& trace, SummaryCarrier carrier, std::optional<OffsetBand> range) {
    const double first = trace.points.front().offset, last = trace.points.back().offset;
    out << trace.caption << "\n";
    writeField(out, "source", trace.source);
    if (!trace.time.empty()) writeField(out, "measured", trace.time + " UTC");
    writeField(out, "carrier", withPrefix(carrier.hertz, "Hz") + " (" + carrier.from + ")");
    writeField(out, "points", std::to_string(trace.points.size()) + ", offsets " + offsetText(first) + " to " +
                                  offsetText(last));
    if (trace.leftOut > 0) {
        writeField(out, "left out", std::to_string(trace.leftOut) + " (offset at or below 0, or not a finite number)");
    }
    OffsetBand asked = range.value_or(OffsetBand{first, last});
    writeSpotNoise(out, trace, std::max(asked.from, first), std::min(asked.to, last));

    std::optional<NoiseIntegral> integral = integrateNoise(trace.points, asked.from, asked.to);
    if (!integral) {
        writeField(out, "integrated", range ? "nothing: the range " + offsetText(asked.from) + " to " + offsetText(asked.to) +
                                                  " does not overlap the trace"
                                            : std::string("nothing: the trace has a single offset"));
        return;
    }
    std::string span = offsetText(integral->from) + " to " + offsetText(integral->to);
    if (integral->from != asked.from || integral->to != asked.to) {
        span += " (the range " + offsetText(asked.from) + " to " + offsetText(asked.to) + " clipped to the trace)";
    }
    writeField(out, "integrated", span);
    NoiseFigures figures = noiseFigures(*integral, carrier.hertz);
    writeField(out, "phase noise", withDecimals(figures.integratedPhaseNoise, 3) + " dBc");
    writeField(out, "RMS phase", significant(figures.rmsPhase * 1000, 5) + " mrad, " +
                                     significant(figures.rmsPhase * 180 / pi, 5) + " deg");
    writeField(out, "RMS jitter", carrier.hertz > 0 ? withPrefix(figures.rmsJitter, "s", 5)
                                                    : std::string("none: the carrier is 0 Hz"));
    writeField(out, "residual FM", significant(figures.residualFm, 6) + " Hz");
}

}  // namespace csv2pnp
