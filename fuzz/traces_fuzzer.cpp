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

const csv2pnp::LimitMask mask{"mask.txt", {{10, -100}, {1e3, -120}, {1e3, -130}, {1e5, -150}}};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<csv2pnp::Trace> read = fuzzing::boundedTraces(bytes);
    for (int variant = 0; variant < 2 && !read.empty(); ++variant) {
        std::vector<csv2pnp::Trace> traces = fuzzing::withCarrier(read, variant);
        csv2pnp::Analyses analyses = csv2pnp::analyseTraces(traces, fuzzing::analysisOptions(variant), &mask);
        for (const csv2pnp::TraceAnalysis& analysis : analyses.traces) {
            fuzzing::checkAnalysis(analysis);
            // The fit, of one variant's traces, taken by turns.
            if (variant == static_cast<int>(size % 2)) fuzzing::checkFit(analysis);
        }
    }
    return 0;
}
