#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "figures/noise_figures.h"

namespace csv2pnp {
namespace {

using Points = std::vector<TracePoint>;

NoiseFigures wholeTrace(const Points& points, double carrier) {
    std::optional<NoiseIntegral> integral = integrateNoise(points, 0, INFINITY);
    EXPECT_TRUE(integral);
    return noiseFigures(*integral, carrier);
}

void expectRelative(double got, double expected, double tolerance) {
    EXPECT_NEAR(got / expected, 1, tolerance) << got << " against " << expected;
}

TEST(NoiseFigures, SparseTraceIntegratesAsPowerLaws) {
    NoiseFigures f = wholeTrace({{100, -125}, {1e3, -150}, {1e4, -174}, {200e6, -174}}, 100e6);
    expectRelative(f.rmsPhase, 4.0430e-5, 2e-5);
    expectRelative(f.rmsPhase * 180 / 3.14159265358979323846, 0.0023165, 1e-4);
    expectRelative(*f.rmsJitter, 64.346e-15, 2e-5);
}

TEST(NoiseFigures, FlatTrace) {
    NoiseFigures f = wholeTrace({{1e3, -100}, {1e6, -100}}, 100e6);
    EXPECT_NEAR(f.integratedPhaseNoise, -40.004, 5e-4);
    expectRelative(f.rmsPhase, 14.135e-3, 5e-5);
    expectRelative(*f.rmsJitter, 22.497e-12, 5e-5);
    expectRelative(f.residualFm, 8164.97, 1e-6);
}

// Points that lie on the lines between others change nothing: the closed form is exact.
TEST(NoiseFigures, ExtraPointsOnTheSameLinesLeaveTheFiguresAlone) {
    const Points sparse{{1, -60}, {10, -90}, {100, -110}, {1e3, -120}, {1e5, -140}, {1e6, -140}};
    Points dense;
    for (std::size_t i = 0; i + 1 < sparse.size(); ++i) {
        for (int k = 0; k < 7; ++k) {
            double f = sparse[i].offset * std::pow(sparse[i + 1].offset / sparse[i].offset, k / 7.0);
            dense.push_back({f, *levelAt(sparse, f)});
        }
    }
    dense.push_back(sparse.back());
    NoiseFigures a = wholeTrace(sparse, 1e7), b = wholeTrace(dense, 1e7);
    expectRelative(b.rmsPhase, a.rmsPhase, 1e-12);
    expectRelative(b.residualFm, a.residualFm, 1e-12);
    // Slopes of -10 and -30 dB a decade, where the closed forms meet their limits.
    for (double slope : {-10.0, -30.0, -10.0000001, -29.9999999}) {
        Points line{{10, -80}, {1e4, -80 + 3 * slope}};
        Points split{{10, -80}, {100, -80 + slope}, {1e4, -80 + 3 * slope}};
        NoiseFigures c = wholeTrace(line, 1e7), d = wholeTrace(split, 1e7);
        expectRelative(c.rmsPhase, d.rmsPhase, 1e-12);
        expectRelative(c.residualFm, d.residualFm, 1e-12);
    }
    // At -10 dB a decade, L f is constant: the area is L(f1) f1 ln(f2 / f1).
    std::optional<NoiseIntegral> oneOverF = integrateNoise({{10, -80}, {1e4, -110}}, 0, INFINITY);
    expectRelative(oneOverF->phaseArea, 1e-8 * 10 * std::log(1e3), 1e-14);
}

TEST(NoiseFigures, RangeIsClippedAndItsEndsInterpolated) {
    const Points points{{10, -100}, {1e3, -140}, {1e5, -140}};
    std::optional<NoiseIntegral> clipped = integrateNoise(points, 1, 1e9);
    ASSERT_TRUE(clipped);
    EXPECT_EQ(clipped->from, 10);
    EXPECT_EQ(clipped->to, 1e5);
    std::optional<NoiseIntegral> inner = integrateNoise(points, 100, 1e4);
    Points cut{{100, -120}, {1e3, -140}, {1e4, -140}};
    expectRelative(inner->phaseArea, integrateNoise(cut, 0, INFINITY)->phaseArea, 1e-12);
    EXPECT_FALSE(integrateNoise(points, 2e5, 3e5));
    EXPECT_FALSE(integrateNoise({{10, -100}}, 1, 100));
    // Two points at one offset add no width.
    expectRelative(integrateNoise({{10, -100}, {10, -50}, {100, -110}}, 0, INFINITY)->phaseArea,
                   integrateNoise({{10, -50}, {100, -110}}, 0, INFINITY)->phaseArea, 1e-12);
}

TEST(NoiseFigures, LevelBetweenPointsIsStraightInLogOffset) {
    const Points points{{10, -100}, {1000, -140}};
    const std::pair<double, std::optional<double>> cases[] = {
        {10, -100}, {100, -120}, {1000, -140}, {9.99, std::nullopt}, {1001, std::nullopt}, {NAN, std::nullopt}};
    for (const auto& [offset, level] : cases) {
        std::optional<double> got = levelAt(points, offset);
        ASSERT_EQ(got.has_value(), level.has_value()) << offset;
        if (level) {
            EXPECT_NEAR(*got, *level, 1e-12) << offset;
        }
    }
}

// Levels beyond a double's powers overflow to infinity, or underflow to 0, never to NaN.
TEST(NoiseFigures, LevelsBeyondTheDoubles) {
    const std::pair<Points, double> cases[] = {
        {{{10, 1e308}, {100, -100}}, INFINITY},
        {{{10, -100}, {100, 4000}}, INFINITY},
        {{{10, -1e308}, {100, -1e308}}, 0},
        {{{10, -1e308}, {100, 1e308}}, INFINITY},
    };
    for (const auto& [points, area] : cases) {
        std::optional<NoiseIntegral> integral = integrateNoise(points, 0, INFINITY);
        EXPECT_EQ(integral->phaseArea, area) << points[0].level << " " << points[1].level;
        EXPECT_FALSE(std::isnan(integral->frequencyArea));
    }
}

}  // namespace
}  // namespace csv2pnp
