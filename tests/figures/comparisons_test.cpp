#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "figures/comparisons.h"

namespace csv2pnp {
namespace {

double sum(double a, double b) { return 10 * std::log10(std::pow(10.0, a / 10) + std::pow(10.0, b / 10)); }

// Pairs built from A = -150, B = -140 and C = -145 dBc/Hz give back exactly those levels, on
// the offsets the three share; a point where an oscillator comes out at no power is left out.
TEST(Comparisons, ThreeCorneredHat) {
    const double a = -150, b = -140, c = -145;
    std::vector<TracePoint> ab{{1, sum(a, b)}, {10, sum(a, b)}, {1e6, sum(a, b)}},
        ac{{10, sum(a, c)}, {1e5, sum(a, c)}}, bc{{1, sum(b, c)}, {1e6, sum(b, c)}};
    EXPECT_EQ(sharedOffsets({&ab, &ac, &bc}), (std::vector<double>{10, 1e5}));
    HatResult hat = threeCorneredHat(ab, ac, bc);
    const double expected[] = {a, b, c};
    for (std::size_t k = 0; k < 3; ++k) {
        ASSERT_EQ(hat.oscillators[k].size(), 2u);
        for (const TracePoint& point : hat.oscillators[k]) EXPECT_NEAR(point.level, expected[k], 1e-9);
        EXPECT_EQ(hat.leftOut[k], 0u);
    }
    // B against C far below A against B: A's own power comes out negative there.
    bc[1].level = -170;
    HatResult negative = threeCorneredHat(ab, {{1, -100}, {1e6, -100}}, bc);
    EXPECT_GT(negative.leftOut[1] + negative.leftOut[2], 0u);
}

TEST(Comparisons, DifferenceFromAReference) {
    std::vector<TracePoint> before{{10, -100}, {1000, -140}, {1e5, -150}}, after{{100, -125}, {1e5, -160}};
    std::optional<Difference> change = differenceFrom(after, before);
    ASSERT_TRUE(change);
    // On 100 Hz, 1 kHz and 100 kHz: -125 against -120; -125 - 35/3 against -140; -160 against -150.
    ASSERT_EQ(change->points.size(), 3u);
    EXPECT_NEAR(change->points[0].level, -5, 1e-12);
    EXPECT_NEAR(change->points[1].level, 10.0 / 3, 1e-12);
    EXPECT_NEAR(change->best, -10, 1e-12);
    EXPECT_EQ(change->bestAt, 1e5);
    EXPECT_NEAR(change->worst, 10.0 / 3, 1e-12);
    EXPECT_EQ(change->worstAt, 1000);
    EXPECT_FALSE(differenceFrom({{1, -1}, {2, -1}}, {{3, -1}, {4, -1}}));
}

}  // namespace
}  // namespace csv2pnp
