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
#include "analysis_checks.h"
#include "traces/trace_reader.h"

using fuzzing::require;

namespace {

const csv2pnp::LimitMask mask{{{10, -100}, {1e3, -120}, {1e3, -130}, {1e5, -150}}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    csv2pnp::InputTraces input = csv2pnp::readTraces(bytes, "fuzz\xff.csv");
    require(input.traces.empty() != input.error.empty());

    for (int variant = 0; variant < 2 && !input.traces.empty(); ++variant) {
        std::vector<csv2pnp::Trace> traces = input.traces;
        csv2pnp::Analyses analyses = csv2pnp::analyseTraces(traces, fuzzing::analysisOptions(variant, &mask));
        for (const csv2pnp::TraceAnalysis& analysis : analyses.traces) fuzzing::checkAnalysis(analysis);
    }
    return 0;
}
