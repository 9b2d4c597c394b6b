#include <cmath>

#include <gtest/gtest.h>

#include "chart/stability_layout.h"

namespace csv2pnp {
namespace {

// Each axis holds the positive finite values drawn on it in whole decades, sigma_y on the left
// and TDEV's seconds on the right; a value not above 0 or not finite is left out of its line,
// and without any value there is nothing to draw.
TEST(StabilityLayout, AxesOfTheValuesThatCanBeDrawn) {
    StabilityInput input;
    input.series.push_back({"a ADEV", 0, DeviationMarker::circle, {{1e-5, 3e-8}, {1e-3, 0}, {0.1, 6e-12}}});
    input.series.push_back({"a TDEV", 0, DeviationMarker::triangle, {{1e-5, 5e-14}, {0.1, INFINITY}}});
    const StabilityLayout layout = layoutStability(input);
    EXPECT_EQ(layout.taus.first, -5);
    EXPECT_EQ(layout.taus.last, -1);
    EXPECT_EQ(layout.left.decades.first, -12);
    EXPECT_EQ(layout.left.decades.last, -7);
    ASSERT_TRUE(layout.right);
    EXPECT_EQ(layout.right->decades.first, -14);
    EXPECT_EQ(layout.right->decades.last, -13);
    ASSERT_EQ(layout.lines.size(), 2u);
    EXPECT_EQ(layout.lines[0].vertices.size(), 2u);
    EXPECT_EQ(layout.lines[1].vertices.size(), 1u);
    // 1e-5 s at the plot's left edge; 5e-14 s is 0.7 of the right axis's one decade up.
    EXPECT_EQ(layout.lines[1].vertices[0].first, plotArea.left);
    EXPECT_NEAR(layout.lines[1].vertices[0].second, plotArea.top + plotArea.height * (1 - std::log10(5.0)), 1e-9);
    EXPECT_EQ(layout.width, 1080 + 60);
    EXPECT_GT(layout.legend[0].x, layout.right->titleX + 6);
    EXPECT_EQ(layout.legend[1].caption, "a TDEV" + std::string(rightAxisNote));
    // TDEV alone stands on the left, in seconds.
    input.series.erase(input.series.begin());
    const StabilityLayout alone = layoutStability(input);
    EXPECT_FALSE(alone.right);
    EXPECT_EQ(alone.left.decades.first, -14);
    EXPECT_EQ(alone.legend[0].caption, "a TDEV");
    EXPECT_EQ(layout.lines[1].style.dashes, "2 3");
    EXPECT_TRUE(layoutStability({"nothing", {{"b", 0, DeviationMarker::square, {{1, 0}}}}, false}).lines.empty());
}

}  // namespace
}  // namespace csv2pnp
