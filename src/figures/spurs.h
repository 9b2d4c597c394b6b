// Spurs: a few points that stand well above the noise around them, as discrete tones do.
#pragma once

#include <cstddef>
#include <vector>

#include "traces/trace.h"

namespace csv2pnp {

// A point's baseline is the median level of the 11 points centred on it; within 5 points of
// an end, of the points centred on it that the trace has (so an end point is never raised).
inline constexpr std::size_t spurBaselinePoints = 11;
// A run of raised points longer than this is a bump in the noise, not a spur.
inline constexpr std::size_t longestSpur = 5;
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

// Every maximal run of at most longestSpur consecutive points that exceed their baseline by
// more than threshold dB and hold power above their clean line: the power law between the
// run's two neighbours (or the one neighbour's level, flat, at an end). Its power is that of
// a tone: each point's density above the clean line C_i times its width w_i, summed.
std::vector<Spur> findSpurs(const std::vector<TracePoint>& points, double threshold);

// The trace with each spur's points moved onto its clean line.
std::vector<TracePoint> withoutSpurs(const std::vector<TracePoint>& points, const std::vector<Spur>& spurs);

// The RMS jitter, in seconds, that a power ratio of phase noise makes at this carrier:
// sqrt(2 power) / (2 pi carrier).
double jitterOf(double power, double carrier);

}  // namespace csv2pnp
