// Spurs: a few points that stand well above the noise around them, as discrete tones do.
#pragma once

#include <cstddef>
#include <vector>

#include "traces/trace.h"

namespace csv2pnp {

// A point's baseline is the median level of its window: the points from half to twice its
// offset (0.3 decade each side), and at least the spurBaselinePoints on each side of it. Near
// an end the window stays centred on the point: it reaches no farther above the point, in log
// offset and in points, than the trace reaches below it, and the other way round (so an end
// point is never raised). Of an even number of points the median is the higher middle one.
inline constexpr double spurBaselineRatio = 2;
inline constexpr std::size_t spurBaselinePoints = 5;
// An analyzer spreads a tone over its resolution bandwidth, a fixed fraction of the offset,
// so a tone spans a fixed fraction of a decade whatever the points a decade. A run of points
// above their baseline whose last offset is more than this times its first (0.114 decade) is
// a bump in the noise, not a spur.
inline constexpr double widestSpurRatio = 1.3;
inline constexpr double defaultSpurThreshold = 10;  // dB above the baseline

struct Spur {
    std::size_t first, last;  // the run of raised points, indices into the trace
    double offset, level;     // of its highest point
    double power;             // of the tone, a power ratio: sum of w_i (10^(L_i/10) - 10^(C_i/10))
    double powerDbc;          // 10 log10(power)
};

// The resolution of point i, over which an analyzer spreads a tone it holds: half the distance
// between its neighbours, (f_(i+1) - f_(i-1)) / 2; at an end of the trace the distance to its
// one neighbour.
double pointWidth(const std::vector<TracePoint>& points, std::size_t i);

// Every maximal run of consecutive points more than threshold / 2 dB above their baseline
// (elevated) that holds a point more than threshold dB above it (raised), spans at most
// widestSpurRatio and holds power above its clean line: the power law between the run's two
// neighbours (or the one neighbour's level, flat, at an end). Its power is that of a tone:
// each point's density above the clean line C_i times its width w_i, summed.
std::vector<Spur> findSpurs(const std::vector<TracePoint>& points, double threshold);

// The trace with each spur's points moved onto its clean line.
std::vector<TracePoint> withoutSpurs(const std::vector<TracePoint>& points, const std::vector<Spur>& spurs);

// The RMS jitter, in seconds, that a power ratio of phase noise makes at this carrier:
// sqrt(2 power) / (2 pi carrier).
double jitterOf(double power, double carrier);

}  // namespace csv2pnp
