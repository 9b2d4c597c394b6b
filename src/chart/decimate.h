// Thins a long trace to what a chart of a given width can show.
#pragma once

#include <vector>

#include "chart/axes.h"
#include "traces/trace.h"

namespace csv2pnp {

// Of the points (in order of offset) that fall into each of the axis's columns, keeps the
// first, the lowest, the highest and the last, in offset order: at most four a column, and
// every extreme the chart could show.
std::vector<TracePoint> decimate(const std::vector<TracePoint>& points, const OffsetAxis& axis, int columns);

}  // namespace csv2pnp
