#include "fixed_analysis.h"

#include <cmath>

namespace csv2pnp::test {

FixedAnalysis::FixedAnalysis() : mask{"m.txt", {{1, -50}, {1e6, -150}}} {
    Trace noise, floor;
    for (int k = 0; k <= 60; ++k) {
        double offset = std::pow(10.0, k / 10.0);
        noise.points.push_back({offset, -100.0 - k + (k == 30 ? 25 : 0)});
        floor.points.push_back({offset, -160.0 + (k > 45 ? 58 : 0)});
    }
    noise.caption = "a phase noise", floor.caption = "a floor";
    noise.source = floor.source = "a.pnp";
    noise.group = floor.group = "a";
    floor.floor = true;
    noise.time = "12/9/2026 4:26:47";
    traces = {noise, floor};
    AnalysisOptions options;
    options.normaliseTo = 100e6;
    options.band = OffsetBand{10, 1e5};
    options.smoothing = 0.2;
    options.deviations = {true, true, true, false};
    options.fit = true;
    analyses = analyseTraces(traces, options, &mask);
}

}  // namespace csv2pnp::test
