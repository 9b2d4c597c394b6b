// One analysis that asks for everything pnpplot can say of a trace pair: a phase-noise trace
// with a spur, its floor rising close at the top, a mask, -n, -r, smoothing and the Allan
// deviation. The writers' tests print it.
#pragma once

#include <vector>

#include "analysis/trace_analysis.h"

namespace csv2pnp::test {

struct FixedAnalysis {
    std::vector<Trace> traces;
    LimitMask mask;
    Analyses analyses;

    FixedAnalysis();
    FixedAnalysis(const FixedAnalysis&) = delete;
    FixedAnalysis& operator=(const FixedAnalysis&) = delete;
};

}  // namespace csv2pnp::test
