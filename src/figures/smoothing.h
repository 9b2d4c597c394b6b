// Display smoothing: each level the mean power of its neighbours within a span of decades.
#pragma once

#include <vector>

#include "traces/trace.h"

namespace csv2pnp {

// Each point's level becomes 10 log10 of the mean of the linear powers of the points within
// +-decades/2 decades of its offset, itself included (and within 1 % more, so that rounded
// offsets on a regular grid fall in evenly). A flat trace stays flat.
std::vector<TracePoint> smoothed(const std::vector<TracePoint>& points, double decades);

}  // namespace csv2pnp
