#include <cmath>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "figures/noise_figures.h"
#include "figures/spurs.h"
#include "numeric/numeric.h"

namespace csv2pnp {
namespace {

using Points = std::vector<TracePoint>;

// 41 points, 10 a decade from 10 Hz to 100 kHz, on L = -100 - 20 log10(f / 10): a power law.
Points powerLaw(double slope = -20) {
    Points points;
    for (int k = 0; k <= 40; ++k) points.push_back({std::pow(10.0, 1 + k / 10.0), -100 + slope * k / 10.0});
    return points;
}

double area(const Points& points) { return integrateNoise(points, 0, INFINITY)->phaseArea; }

// One point raised by 30 dB is a tone: its density above the clean line times the point's
// width, the half distance between its neighbours, worked out by hand in long double.
TEST(Spurs, OneRaisedPointIsATone) {
    for (double slope : {-20.0, -30.0, -10.0}) {
        SCOPED_TRACE(slope);
        Points points = powerLaw(slope);
        points[20].level += 30;
        std::vector<Spur> spurs = findSpurs(points, defaultSpurThreshold);
        ASSERT_EQ(spurs.size(), 1u);
        EXPECT_EQ(spurs[0].first, 20u);
        EXPECT_EQ(spurs[0].last, 20u);
        EXPECT_EQ(spurs[0].offset, 1000);
        EXPECT_EQ(spurs[0].level, -100 + slope * 2 + 30);
        long double width = (std::pow(10.0L, 3.1L) - std::pow(10.0L, 2.9L)) / 2;
        long double cleanPower = std::pow(10.0L, (-100 + slope * 2.0L) / 10);
        long double power = width * (cleanPower * 1000 - cleanPower);
        EXPECT_NEAR(spurs[0].powerDbc, 10 * std::log10(static_cast<double>(power)), 1e-9);
        EXPECT_NEAR(jitterOf(spurs[0].power, 1e7) / (std::sqrt(2 * static_cast<double>(power)) / (2 * pi * 1e7)), 1,
                    1e-12);

        // With the spur on its clean line every figure is the clean trace's.
        Points clean = withoutSpurs(points, spurs);
        const Points line = powerLaw(slope);
        EXPECT_NEAR(area(clean) / area(line), 1, 1e-12);
        EXPECT_NEAR(
            integrateNoise(clean, 0, INFINITY)->frequencyArea / integrateNoise(line, 0, INFINITY)->frequencyArea, 1,
            1e-12);
    }
    // Flat -150 dBc/Hz at 100 points a decade, 1 kHz raised by 30 dB: w = 1000 (10^0.01 - 10^-0.01) / 2.
    Points flat;
    for (int k = 0; k <= 400; ++k) flat.push_back({std::pow(10.0, 1 + k / 100.0), k == 200 ? -120.0 : -150.0});
    std::vector<Spur> spurs = findSpurs(flat, defaultSpurThreshold);
    ASSERT_EQ(spurs.size(), 1u);
    EXPECT_NEAR(spurs[0].powerDbc,
                10 * std::log10(1000 * (std::pow(10.0, 0.01) - std::pow(10.0, -0.01)) / 2 * (1e-12 - 1e-15)), 1e-9);
    EXPECT_EQ(pointWidth(flat, 0), flat[1].offset - flat[0].offset);
    EXPECT_EQ(pointWidth(flat, 400), flat[400].offset - flat[399].offset);
}

TEST(Spurs, FlatNoiseWithRippleHasNone) {
    std::mt19937 random(2026);
    std::uniform_real_distribution<double> ripple(-3, 3);
    for (int trial = 0; trial < 50; ++trial) {
        Points points;
        for (int k = 0; k < 200; ++k) points.push_back({std::pow(10.0, k / 20.0), -150 + ripple(random)});
        EXPECT_TRUE(findSpurs(points, defaultSpurThreshold).empty()) << trial;
    }
}

TEST(Spurs, RunsThresholdsAndEnds) {
    const struct {
        double slope;             // dB a decade
        std::vector<int> raised;  // indices raised by the amount
        double by, threshold;
        std::size_t spurs;
    } cases[] = {
        {0, {20, 21, 22, 23, 24}, 30, 10, 1},      // five points: a spur
        {0, {20, 21, 22, 23, 24, 25}, 30, 10, 0},  // six: a bump in the noise
        {-30, {10, 30}, 30, 10, 2},
        {0, {20}, 10, 10, 0},  // exactly at the threshold is not above it
        {0, {20}, 10.5, 10, 1},
        {0, {20}, 25, 30, 0},
        {-30, {20}, 10.5, 10, 0},  // on a slope the raised point moves the median up
        {-30, {0}, 40, 10, 0},     // an end point has no neighbours to stand above
        {-30, {1}, 40, 10, 1},
        {-30, {39}, 40, 10, 1},
    };
    for (const auto& c : cases) {
        Points points = powerLaw(c.slope);
        for (int i : c.raised) points[static_cast<std::size_t>(i)].level += c.by;
        EXPECT_EQ(findSpurs(points, c.threshold).size(), c.spurs) << c.raised.front() << " by " << c.by;
    }
    // A steep trace has no spur at its ends, and a trace too short for neighbours none at all.
    EXPECT_TRUE(findSpurs(powerLaw(-40), defaultSpurThreshold).empty());
    EXPECT_TRUE(findSpurs({{10, -100}, {100, -50}}, defaultSpurThreshold).empty());
}

}  // namespace
}  // namespace csv2pnp
