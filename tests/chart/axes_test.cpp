#include <gtest/gtest.h>

#include "chart/axes.h"

namespace csv2pnp {
namespace {

TEST(Axes, OffsetsSpanWholeDecades) {
    const struct {
        double lowest, highest;
        int first, last;
    } cases[] = {
        {10, 1e6, 1, 6},    {12.5, 9e5, 1, 6},           {0.5, 20, -1, 2},   {1e-3, 1e-3, -3, -2},
        {1000, 1000, 3, 4}, {999.9999, 1000.0001, 2, 4}, {1e-5, 2e8, -5, 9},
    };
    for (const auto& c : cases) {
        OffsetAxis axis = offsetAxisFor(c.lowest, c.highest);
        EXPECT_EQ(axis.first, c.first) << c.lowest;
        EXPECT_EQ(axis.last, c.last) << c.highest;
    }
}

TEST(Axes, LevelsRoundOutwardToTenDecibels) {
    const struct {
        double lowest, highest, bottom, top, step;
    } cases[] = {
        {-179.99, -90, -180, -90, 10},
        {-155, -121, -160, -120, 10},
        {-100, -100, -100, -90, 10},
        {5, 5, 0, 10, 10},
    };
    for (const auto& c : cases) {
        LevelAxis axis = levelAxisFor(c.lowest, c.highest);
        EXPECT_EQ(axis.bottom, c.bottom) << c.lowest;
        EXPECT_EQ(axis.top, c.top) << c.highest;
        EXPECT_EQ(axis.step, c.step) << c.lowest;
    }
    // A range of absurd levels takes a coarser step instead of billions of lines.
    LevelAxis wide = levelAxisFor(-1e12, 1e12);
    EXPECT_LE(wide.bottom, -1e12);
    EXPECT_GE(wide.top, 1e12);
    EXPECT_LE((wide.top - wide.bottom) / wide.step, 31);
}

}  // namespace
}  // namespace csv2pnp
