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
        {0, {20, 21}, 30, 10, 1},                            // two points 10^0.1 = 1.26 apart: a spur
        {0, {20, 21, 22}, 30, 10, 0},                        // three, 1.58 apart: a bump in the noise
        {-30, {10, 30}, 30, 10, 2},   {0, {20}, 10, 10, 0},  // exactly at the threshold is not above it
        {0, {20}, 10.5, 10, 1},       {0, {20}, 25, 30, 0},
        {-30, {20}, 10.5, 10, 0},  // on a slope the raised point moves the median up
        {-30, {0}, 40, 10, 0},     // an end point has no neighbours to stand above
        {-30, {1}, 40, 10, 1},        {-30, {39}, 40, 10, 1},
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

// Noise from 10 Hz to 10 MHz, scattering +-0.5 dB as a sweep does: a slope into a floor, with
// `peaking` dB of loop peaking 0.5 decade wide at 31.6 kHz (the point 3.5 decades in).
Points scatteredNoise(int perDecade, unsigned seed, double slope, double peaking = 0) {
    std::mt19937 random(seed);
    std::uniform_real_distribution<double> scatter(-0.5, 0.5);
    Points points;
    for (int k = 0; k <= 6 * perDecade; ++k) {
        const double decades = 1 + static_cast<double>(k) / perDecade, hump = (decades - 4.5) / 0.25;
        const double level = std::max(-40 + slope * decades, -160.0) + peaking * std::max(0.0, 1 - hump * hump);
        points.push_back({std::pow(10.0, decades), level + scatter(random)});
    }
    return points;
}

// Tones as an analyzer shows them, spread over a resolution bandwidth a fixed fraction of the
// offset: at 31.6 kHz, `height` dB above the noise and falling as a parabola in dB (a Gaussian
// filter) to it `width` decades apart, on one point at 20 points a decade, on up to 80 at
// 1,000, are spurs at any density; too low or too wide a tone is none, and scattered noise,
// steep or peaking, has none over many sweeps.
TEST(Spurs, TheSameTonesAtAnyDensity) {
    const struct {
        double width, height;  // decades, dB
        bool found;
    } tones[] = {{0.01, 12, true},  {0.013, 38, true}, {0.027, 20, true}, {0.08, 30, true},
                 {0.013, 9, false}, {0.3, 38, false}};  // below the threshold; 0.25 decade over it: a bump
    for (int perDecade : {20, 100, 1000}) {
        const auto centre = static_cast<std::size_t>(3.5 * perDecade);
        for (const auto& tone : tones) {
            Points points = scatteredNoise(perDecade, 1, -20);
            for (TracePoint& point : points) {
                const double apart = 2 * std::log10(point.offset / points[centre].offset) / tone.width;
                point.level += tone.height * std::max(0.0, 1 - apart * apart);
            }
            std::vector<Spur> spurs = findSpurs(points, defaultSpurThreshold);
            ASSERT_EQ(spurs.size(), tone.found ? 1u : 0u) << perDecade << " a decade, " << tone.width << " decade";
            EXPECT_TRUE(!tone.found || (spurs[0].first <= centre && centre <= spurs[0].last));
        }
        for (unsigned seed = 0; seed < 20; ++seed) {
            for (auto [slope, peaking] : {std::pair{-20.0, 0.0}, {-40.0, 0.0}, {-20.0, 8.0}}) {
                EXPECT_TRUE(findSpurs(scatteredNoise(perDecade, seed, slope, peaking), defaultSpurThreshold).empty())
                    << perDecade << " a decade, seed " << seed << ", " << slope << " dB a decade, " << peaking;
            }
        }
    }
}

}  // namespace
}  // namespace csv2pnp
