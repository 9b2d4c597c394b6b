// The figures an RF engineer quotes for a phase-noise trace. Between two points the level
// is a straight line in log f and dB, a power law, integrated in closed form.
#pragma once

#include <optional>
#include <utility>
#include <vector>

#include "traces/trace.h"

namespace csv2pnp {

// The level at an offset, on the line between its neighbouring points; nothing outside
// the trace. Points are in order of offset.
std::optional<double> levelAt(const std::vector<TracePoint>& points, double offset);

// A level in dBc/Hz as a power ratio.
double powerRatio(double level);

struct NoiseIntegral {
    double from;  // Hz: the range asked for, clipped to the trace
    double to;
    double phaseArea;      // the integral of L(f) df, L as a power ratio
    double frequencyArea;  // the integral of L(f) f^2 df, Hz^2
};

// Over the range clipped to the trace; nothing when they do not overlap in more than a point.
// Levels too high for a double give an infinite area, never NaN.
std::optional<NoiseIntegral> integrateNoise(const std::vector<TracePoint>& points, double from, double to);

// At each point, the areas from the first point to it (phase, then frequency), each the sum
// of its segments in order of offset.
std::vector<std::pair<double, double>> runningIntegrals(const std::vector<TracePoint>& points);

struct NoiseFigures {
    double integratedPhaseNoise;  // dBc, single sideband: 10 log10(A)
    double rmsPhase;              // rad: sqrt(2A)
    double rmsPhaseDegrees;
    std::optional<double> rmsJitter;  // s: rmsPhase / (2 pi carrier); nothing for a carrier of 0
    double residualFm;                // Hz: sqrt(2 integral of L f^2 df)
};

NoiseFigures noiseFigures(const NoiseIntegral& integral, double carrier);

}  // namespace csv2pnp
