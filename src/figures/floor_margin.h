// How far a phase-noise trace stands above the analyzer's own floor, and the trace with
// the floor's power taken out.
#pragma once

#include <cstddef>
#include <optional>
#include <vector>

#include "traces/trace.h"

namespace csv2pnp {

inline constexpr double defaultMarginThreshold = 10;  // dB
// Less than this above the floor the floor dominates a point: its measured level is only an
// upper bound of the device's, and subtracting a floor known to a dB or so would claim more
// than the instrument can show. Correcting a point at this margin lowers it by 3 dB at most.
inline constexpr double floorLimitedMargin = 3;  // dB

// Offsets where consecutive points stand less than the threshold above the floor.
struct MarginRange {
    double from, to;  // Hz, the first and last of those points
    std::size_t points;
};

struct FloorMargin {
    // Per point of the trace: its level minus the floor interpolated at its offset, as spot
    // noise is; nothing outside the floor's offsets.
    std::vector<std::optional<double>> margins;
    std::optional<double> smallest;  // dB, nothing when no point has a margin
    double smallestAt = 0;           // Hz, the first point with the smallest margin
    double threshold;
    std::vector<MarginRange> below;  // ranges of points with a margin below the threshold
    std::vector<double> belowAt;     // Hz: the offsets of those points, in order
    std::size_t floorLimited = 0;    // points with a margin below floorLimitedMargin
};

FloorMargin floorMarginOf(const std::vector<TracePoint>& points, const std::vector<TracePoint>& floor,
                          double threshold);

// Each point with a margin of at least floorLimitedMargin becomes 10 log10(10^(L/10) - 10^(F/10));
// a point with less keeps its measured level, an upper bound, and so does a point without a
// margin. Returns the floor-limited points, as kept.
std::vector<TracePoint> subtractFloor(std::vector<TracePoint>& points, const FloorMargin& margin);

}  // namespace csv2pnp
