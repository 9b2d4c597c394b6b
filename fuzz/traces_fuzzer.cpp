// Feeds arbitrary bytes to pnpplot's reader and the analysis of every trace it finds, with
// no chart, so that long runs reach millions of inputs. Checks what must hold for any input:
// settled points, and figures that are numbers wherever the trace's levels are.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "analysis/trace_analysis.h"
#include "report/summary_text.h"
#include "traces/trace_reader.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    csv2pnp::InputTraces input = csv2pnp::readTraces(bytes, "fuzz.csv");
    require(input.traces.empty() != input.error.empty());
    std::ostringstream summary;
    for (const csv2pnp::Trace& trace : input.traces) {
        require(!trace.points.empty());
        for (std::size_t i = 0; i < trace.points.size(); ++i) {
            require(trace.points[i].offset > 0 && std::isfinite(trace.points[i].offset));
            require(std::isfinite(trace.points[i].level));
            if (i > 0) require(trace.points[i - 1].offset <= trace.points[i].offset);
        }
        csv2pnp::OffsetBand band{trace.points.front().offset, trace.points.back().offset};
        for (std::optional<csv2pnp::OffsetBand> range : {std::optional<csv2pnp::OffsetBand>{}, std::optional{band}}) {
            csv2pnp::TraceAnalysis analysis = csv2pnp::analyseTrace(trace, {1e7, "fuzz"}, range);
            for (const csv2pnp::SpotLevel& spot : analysis.spotNoise) {
                require(spot.offset >= band.from && spot.offset <= band.to);
            }
            if (analysis.integration) {
                const csv2pnp::NoiseIntegral& integral = analysis.integration->integral;
                require(integral.from >= band.from && integral.to <= band.to && integral.from < integral.to);
                require(!std::isnan(integral.phaseArea) && integral.phaseArea >= 0);
            }
            csv2pnp::writeSummaryText(summary, analysis);
        }
    }
    return 0;
}
