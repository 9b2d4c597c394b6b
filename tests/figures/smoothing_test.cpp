#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "figures/smoothing.h"

namespace csv2pnp {
namespace {

// Against the definition summed point by point: the mean of the powers within the span.
TEST(Smoothing, MeanPowerOfTheSpanAroundEachPoint) {
    std::mt19937 random(7);
    std::uniform_real_distribution<double> level(-180, -60);
    std::vector<TracePoint> points;
    for (int k = 0; k < 400; ++k) points.push_back({std::pow(10.0, k / 57.0), level(random)});
    for (double decades : {0.01, 0.1, 0.5, 3.0}) {
        std::vector<TracePoint> smooth = smoothed(points, decades);
        ASSERT_EQ(smooth.size(), points.size());
        for (std::size_t i = 0; i < points.size(); ++i) {
            long double sum = 0;
            int count = 0;
            for (const TracePoint& p : points) {
                if (std::fabs(std::log10(p.offset / points[i].offset)) <= decades / 2 * 1.01) {
                    sum += std::pow(10.0L, p.level / 10.0L);
                    ++count;
                }
            }
            EXPECT_EQ(smooth[i].offset, points[i].offset);
            EXPECT_NEAR(smooth[i].level, 10 * std::log10(static_cast<double>(sum / count)), 1e-9)
                << i << " " << decades;
        }
    }
    // A flat trace stays flat, and a spur 100 dB above the noise does not swamp the noise far
    // from it.
    std::vector<TracePoint> flat;
    for (int k = 0; k < 100; ++k) flat.push_back({std::pow(10.0, k / 10.0), k == 50 ? -50.0 : -150.0});
    std::vector<TracePoint> smooth = smoothed(flat, 0.5);
    EXPECT_NEAR(smooth[10].level, -150, 1e-9);
    EXPECT_NEAR(smooth[90].level, -150, 1e-9);
    EXPECT_NEAR(smooth[50].level, -50 - 10 * std::log10(5.0), 1e-3);
}

}  // namespace
}  // namespace csv2pnp
