#include <cmath>

#include <gtest/gtest.h>

#include "chart/stability_layout.h"

namespace csv2pnp {
namespace {

// The axes hold every positive finite value in whole decades; a value not above 0 or not finite
// is left out of its line, and without any value there is nothing to draw.
TEST(StabilityLayout, AxesOfTheValuesThatCanBeDrawn) {
    StabilityInput input;
    input.series.push_back({"a ADEV", 0, DeviationMarker::circle, {{1e-5, 3e-8}, {1e-3, 0}, {0.1, 6e-12}}});
    input.series.push_back({"a TDEV", 0, DeviationMarker::triangle, {{1e-5, 5e-14}, {0.1, INFINITY}}});
    const StabilityLayout layout = layoutStability(input);
    EXPECT_EQ(layout.taus.first, -5);
    EXPECT_EQ(layout.taus.last, -1);
    EXPECT_EQ(layout.values.first, -14);
    EXPECT_EQ(layout.values.last, -7);
    ASSERT_EQ(layout.lines.size(), 2u);
    EXPECT_EQ(layout.lines[0].vertices.size(), 2u);
    EXPECT_EQ(layout.lines[1].vertices.size(), 1u);
    // 1e-5 s at the plot's left edge; 5e-14 is 0.7 of a decade above the bottom of 7.
    EXPECT_EQ(layout.lines[1].vertices[0].first, plotArea.left);
    EXPECT_NEAR(layout.lines[1].vertices[0].second, plotArea.top + plotArea.height * (1 - std::log10(5.0) / 7), 1e-9);
    EXPECT_EQ(layout.lines[1].style.dashes, "2 3");
    EXPECT_TRUE(layoutStability({"nothing", {{"b", 0, DeviationMarker::square, {{1, 0}}}}, false}).lines.empty());
}

}  // namespace
}  // namespace csv2pnp
