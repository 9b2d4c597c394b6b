#include <cmath>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "adev_reference.h"
#include "figures/allan_deviation.h"

namespace csv2pnp {
namespace {

using Points = std::vector<TracePoint>;

// One power law: level at 1 Hz, slope in dB a decade, from one offset to another.
Points powerLaw(double atOneHertz, double slope, double from, double to, int perDecade = 1) {
    Points points;
    int first = static_cast<int>(std::lround(std::log10(from) * perDecade));
    int last = static_cast<int>(std::lround(std::log10(to) * perDecade));
    for (int k = first; k <= last; ++k) {
        double decade = static_cast<double>(k) / perDecade;
        points.push_back({std::pow(10.0, decade), atOneHertz + slope * decade});
    }
    return points;
}

std::vector<std::pair<double, double>> pairsOf(const Points& points) {
    std::vector<std::pair<double, double>> pairs;
    for (const TracePoint& p : points) pairs.emplace_back(p.offset, p.level);
    return pairs;
}

// The textbook relations of NIST Special Publication 1065 for power-law noise: white FM,
// S_y = h0, gives sigma_y^2 = h0 / (2 tau); flicker FM, S_y = h-1 / f, gives 2 ln 2 h-1.
TEST(AllanDeviation, PowerLawNoiseAsTheTextbookHasIt) {
    // -100 dBc/Hz at 10 Hz falling 20 dB a decade: S_y = 2e-22, sigma_y(1 s) = 1e-11.
    Points white = powerLaw(-80, -20, 1e-3, 1e5);
    std::vector<AllanPoint> adev = allanDeviations(white, 10e6);
    ASSERT_EQ(adev.size(), 7u);  // 1/tau from 10 mHz to 10 kHz
    EXPECT_EQ(adev.front().tau, 1e-4);
    EXPECT_EQ(adev.back().tau, 100);
    for (const AllanPoint& point : adev) {
        EXPECT_NEAR(point.sigmaY / (1e-11 / std::sqrt(point.tau)), 1, 0.01) << point.tau;
    }
    // -100 dBc/Hz at 1 Hz falling 30 dB a decade: S_y = 2e-24 / f, sigma_y = 1.665e-12. Below
    // 1/tau the kernel still weighs the noise as (pi tau f)^2 / f: with the trace starting a
    // decade below 1/tau, 3.5 % of the variance lies below it, so this one starts at 0.4 mHz,
    // where the longest tau the rule gives, 100 s, misses 0.6 %.
    Points flicker = powerLaw(-100, -30, 1e-3, 1e5);
    flicker.insert(flicker.begin(), {4e-4, -100 - 30 * std::log10(4e-4)});
    std::vector<AllanPoint> flat = allanDeviations(flicker, 10e6);
    ASSERT_EQ(flat.size(), 7u);
    for (const AllanPoint& point : flat) {
        EXPECT_NEAR(point.sigmaY / std::sqrt(2 * std::log(2.0) * 2e-24), 1, 0.01) << point.tau;
    }
}

// Against the defining integral evaluated by brute force in long double, on traces with
// several slopes, a spur and ripple, at every tau the rule gives and between them.
TEST(AllanDeviation, MatchesTheDefiningIntegral) {
    Points trace;
    for (int k = 0; k <= 40; ++k) {
        double f = std::pow(10.0, -1 + k / 10.0);
        double level =
            10 * std::log10(1e-9 / (f * f * f) + 1e-12 / f + 1e-14) + (k % 3 == 0 ? 1.5 : 0) + (k == 25 ? 20 : 0);
        trace.push_back({f, level});
    }
    for (double tau : {0.01, 0.1, 1.0, 0.3}) {
        double reference = static_cast<double>(test::referenceAllanDeviation(pairsOf(trace), 5e6, tau));
        EXPECT_NEAR(allanDeviation(trace, 5e6, tau) / reference, 1, 1e-6) << tau;
    }
    Points steep = powerLaw(-60, -40, 0.1, 1000, 3);
    EXPECT_NEAR(
        allanDeviation(steep, 10e6, 1) / static_cast<double>(test::referenceAllanDeviation(pairsOf(steep), 10e6, 1)), 1,
        1e-6);
}

// Points added on the same lines change nothing, far into the asymptotic range too.
TEST(AllanDeviation, PointsOnTheSameLinesChangeNothing) {
    Points sparse{{1e-3, -40}, {1, -100}, {100, -150}, {1e4, -160}, {1e5, -160}};
    Points dense;
    for (std::size_t i = 0; i + 1 < sparse.size(); ++i) {
        for (int k = 0; k < 13; ++k) {
            double f = sparse[i].offset * std::pow(sparse[i + 1].offset / sparse[i].offset, k / 13.0);
            double level = sparse[i].level + (sparse[i + 1].level - sparse[i].level) * k / 13.0;
            dense.push_back({f, level});
        }
    }
    dense.push_back(sparse.back());
    for (double tau : {1e-3, 1e-1, 10.0}) {
        EXPECT_NEAR(allanDeviation(dense, 10e6, tau) / allanDeviation(sparse, 10e6, tau), 1, 1e-9) << tau;
    }
}

TEST(AllanDeviation, AveragingTimes) {
    const struct {
        double first, last;
        std::vector<double> taus;
    } cases[] = {
        {1, 1e6, {1e-5, 1e-4, 1e-3, 1e-2, 1e-1}},  // the sample export
        {10, 1e6, {1e-5, 1e-4, 1e-3, 1e-2}},
        {10, 100, {}},  // no decade inside on both sides
        {0.1, 100, {1e-1, 1}},
        {0.15, 100, {1e-1}},
    };
    for (const auto& c : cases) EXPECT_EQ(allanTaus(c.first, c.last), c.taus) << c.first << " " << c.last;
    EXPECT_TRUE(allanDeviations(powerLaw(-100, -20, 1, 1e6), 0).empty());
}

}  // namespace
}  // namespace csv2pnp
