// Everything pnpplot says of one trace, computed once as plain data: the text summary, the
// JSON summary and the HTML report print it, the chart draws from it.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "figures/noise_figures.h"
#include "traces/trace.h"

namespace csv2pnp {

// The carrier a trace's jitter is worked out for, and where it comes from.
struct CarrierChoice {
    double hertz;
    std::string from;  // "CAR record", "-c", "default for a CSV export"
};

// -c wins over the file's CAR record; an export without -c is taken at csv2pnp's default.
CarrierChoice chooseCarrier(const Trace& trace, std::optional<double> commandLine);

struct SpotLevel {
    double offset;  // Hz, a whole decade
    double level;   // dBc/Hz
};

struct BandFigures {
    NoiseIntegral integral;  // over the band clipped to the trace
    bool clipped;            // the band asked for reaches beyond the trace
    NoiseFigures figures;
};

struct TraceAnalysis {
    const Trace* trace;
    CarrierChoice carrier;
    double firstOffset, lastOffset;
    std::vector<SpotLevel> spotNoise;   // at each decade inside the band and the trace
    OffsetBand band;                    // asked for: -r, or the whole trace
    bool bandGiven;                     // by -r
    std::optional<BandFigures> integration;  // nothing when the band and the trace share no width
};

TraceAnalysis analyseTrace(const Trace& trace, CarrierChoice carrier, std::optional<OffsetBand> range);

}  // namespace csv2pnp
