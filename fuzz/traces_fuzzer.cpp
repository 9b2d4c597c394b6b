// Feeds arbitrary bytes to pnpplot's reader and to the analysis of every trace found, with
// the options that change it, and writes nothing, so that long runs reach millions of inputs.
// Checks what must hold for any input: settled points, and figures that are numbers wherever
// the levels are.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "analysis/trace_analysis.h"
#include "traces/trace_reader.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

const csv2pnp::LimitMask mask{{{10, -100}, {1e3, -120}, {1e3, -130}, {1e5, -150}}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    csv2pnp::InputTraces input = csv2pnp::readTraces(bytes, "fuzz\xff.csv");
    require(input.traces.empty() != input.error.empty());

    for (int variant = 0; variant < 2 && !input.traces.empty(); ++variant) {
        std::vector<csv2pnp::Trace> traces = input.traces;
        csv2pnp::AnalysisOptions options;
        if (variant == 1) {
            options.carrier = 5;
            options.normaliseTo = 1e9;
            options.band = csv2pnp::OffsetBand{1, 1e6};
            options.omitSpurs = true;
            options.subtractFloor = true;
            options.spurThreshold = 3;
        }
        options.mask = &mask;
        csv2pnp::Analyses analyses = csv2pnp::analyseTraces(traces, options);
        for (const csv2pnp::TraceAnalysis& analysis : analyses.traces) {
            const std::vector<csv2pnp::TracePoint>& points = analysis.trace->points;
            require(!points.empty());
            for (std::size_t i = 0; i < points.size(); ++i) {
                require(points[i].offset > 0 && std::isfinite(points[i].offset));
                if (i > 0) require(points[i - 1].offset < points[i].offset);
            }
            if (analysis.integration) {
                const csv2pnp::NoiseIntegral& integral = analysis.integration->integral;
                require(integral.from >= points.front().offset && integral.to <= points.back().offset);
                require(!std::isnan(integral.phaseArea) && integral.phaseArea >= 0);
                require(!std::isnan(integral.frequencyArea) && integral.frequencyArea >= 0);
            }
            for (const csv2pnp::SpurFigures& spur : analysis.spurs) {
                require(spur.spur.last - spur.spur.first < csv2pnp::longestSpur && spur.spur.power > 0);
            }
        }
    }
    return 0;
}
