// What the fuzz targets that analyse traces hold of every analysis, whatever the input.
#pragma once

#include <cmath>
#include <cstdlib>
#include <vector>

#include "analysis/trace_analysis.h"

namespace fuzzing {

inline void require(bool condition) {
    if (!condition) std::abort();
}

// Variant 0 takes the options as they come; variant 1 every option that changes the traces.
inline csv2pnp::AnalysisOptions analysisOptions(int variant, const csv2pnp::LimitMask* mask) {
    csv2pnp::AnalysisOptions options;
    if (variant == 1) {
        options.carrier = 5;
        options.normaliseTo = 1e9;
        options.band = csv2pnp::OffsetBand{1, 1e6};
        options.omitSpurs = true;
        options.subtractFloor = true;
        options.spurThreshold = 3;
        options.smoothing = 0.3;
    }
    options.mask = mask;
    return options;
}

// Settled points, figures that are numbers wherever the levels are, spurs as defined.
inline void checkAnalysis(const csv2pnp::TraceAnalysis& analysis) {
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
    for (const csv2pnp::AllanPoint& point : analysis.allan) require(!std::isnan(point.sigmaY) && point.sigmaY >= 0);
}

}  // namespace fuzzing
