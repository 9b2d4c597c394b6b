#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "traces/trace.h"

namespace csv2pnp {
namespace {

// Points go in order of offset, the last of equal offsets stands, and what a log axis cannot
// show is counted and left out; an input whose traces keep no point is a problem saying why.
TEST(Trace, SettledAndNamed) {
    Trace trace = namedTrace("dir/x.csv", "columns", "phase noise");
    EXPECT_EQ(trace.caption, "x.csv phase noise");
    EXPECT_EQ(trace.measurement, "x.csv");
    EXPECT_EQ(trace.layout, "columns");
    trace.points = {{100, -1}, {10, -2}, {100, -3}, {0, -4}, {NAN, -5}, {1000, INFINITY}, {1, -6}};
    settlePoints(trace);
    ASSERT_EQ(trace.points.size(), 3u);
    EXPECT_EQ(trace.points[0].offset, 1);
    EXPECT_EQ(trace.points[2].level, -3);
    EXPECT_EQ(trace.leftOut, 3u);
    EXPECT_EQ(trace.repeated, 1u);

    Trace empty = namedTrace("y.csv", "columns", "floor"), zero = empty;
    zero.points = {{0, -1}};
    EXPECT_EQ(settledTraces({empty}, "y.csv").problem->text, noTrace);
    EXPECT_EQ(settledTraces({zero}, "y.csv").problem->text, noDrawablePoint);
    EXPECT_EQ(settledTraces({trace, empty}, "y.csv").value->size(), 1u);
}

}  // namespace
}  // namespace csv2pnp
