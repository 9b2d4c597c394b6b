#include <cmath>
#include <random>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "deviation_reference.h"
#include "figures/time_deviations.h"
#include "numeric/numeric.h"
#include "power_law_deviations.h"

namespace csv2pnp {
namespace {

using Points = std::vector<TracePoint>;
using Noise = test::PowerLawNoise;

constexpr double carrier = 10e6;

Points pointsOf(const test::ReferenceTrace& trace) {
    Points points;
    for (const auto& [offset, level] : trace) points.push_back({offset, level});
    return points;
}

const DeviationsAsked all{true, true, true, false};

// One power-law term on a 10 MHz carrier from 1e-12 Hz on, to 1e12 Hz for the frequency terms
// or to f_h for the phase terms. sigma_y is worked by hand from NIST SP 1065's relations with
// h = 2 b / carrier^2: white FM h_0 = 2e-24 gives sqrt(h_0 / (2 tau)), flicker FM h_-1 = 2e-26
// gives sqrt(2 ln 2 h_-1) = 1.665e-13 at every tau, random-walk FM h_-2 = 2e-27 gives
// sqrt(2 pi^2 / 3 tau h_-2), white PM h_2 = 2e-29 sqrt(3 f_h h_2 / (4 pi^2 tau^2)), flicker
// PM h_1 = 2e-28. The published PM relations drop terms of order 1 / (2 pi f_h tau) against
// the sharp cut-off, hence their wider tolerance; the exact relation is held to 1e-6.
TEST(TimeDeviations, PowerLawNoiseAsTheHandbookHasIt) {
    const struct {
        Noise noise;
        int i;
        double levelAt1Hz, tau, twoPiFhTau, sigmaY, publishedTolerance;
    } cases[] = {
        {Noise::WhiteFm, 2, -100, 1, 0, 1.000e-12, 1e-6},      {Noise::WhiteFm, 2, -100, 0.01, 0, 1.000e-11, 1e-6},
        {Noise::FlickerFm, 3, -120, 1, 0, 1.665e-13, 1e-6},    {Noise::FlickerFm, 3, -120, 100, 0, 1.665e-13, 1e-6},
        {Noise::RandomWalkFm, 4, -130, 1, 0, 1.147e-13, 1e-6}, {Noise::WhitePm, 0, -150, 1, 1e3, 1.555e-14, 1e-3},
        {Noise::WhitePm, 0, -150, 0.1, 1e5, 4.918e-12, 2e-6},  {Noise::FlickerPm, 1, -140, 1, 1e3, 1.050e-14, 2e-4},
        {Noise::FlickerPm, 1, -140, 10, 1e5, 1.343e-15, 4e-5},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::Message() << "alpha " << test::powerLawAlpha(c.noise) << ", tau " << c.tau);
        const double fh = c.twoPiFhTau > 0 ? c.twoPiFhTau / (2 * 3.14159265358979323846 * c.tau) : 1e12;
        const Points trace = pointsOf(test::powerLawTrace(c.levelAt1Hz, c.i, 1e-12, fh));
        const long double h = test::hOfPhaseNoiseTerm(std::pow(10.0L, c.levelAt1Hz / 10.0L), carrier);
        const double allan = allanDeviation(trace, carrier, c.tau);
        EXPECT_NEAR(allan / c.sigmaY, 1, 5e-4);
        EXPECT_NEAR(allan * allan / static_cast<double>(test::exactAllanVariance(c.noise, h, c.tau, fh)), 1, 1e-6);
        EXPECT_NEAR(allan * allan / static_cast<double>(test::publishedAllanVariance(c.noise, h, c.tau, fh)), 1,
                    c.publishedTolerance);
        const double modified = modifiedAllanDeviation(trace, carrier, c.tau);
        EXPECT_NEAR(modified * modified / static_cast<double>(test::exactModifiedAllanVariance(c.noise, h, c.tau, fh)),
                    1, 1e-6);
    }
}

// Mod sigma_y^2 / sigma_y^2 far from the trace's ends: 1/2 for white FM at every tau,
// (27 ln 3 - 32 ln 2) / (16 ln 2) for flicker FM, 33/40 for random-walk FM; SP 1065 quotes
// 0.50, 0.67 and 0.82.
TEST(TimeDeviations, ModifiedToAllanRatios) {
    const struct {
        Noise noise;
        int i;
        double tau;
    } cases[] = {
        {Noise::WhiteFm, 2, 0.01}, {Noise::WhiteFm, 2, 1},      {Noise::WhiteFm, 2, 100},
        {Noise::FlickerFm, 3, 1},  {Noise::RandomWalkFm, 4, 1},
    };
    for (const auto& c : cases) {
        const Points trace = pointsOf(test::powerLawTrace(-110, c.i, 1e-12, 1e12));
        const double ratio =
            std::pow(modifiedAllanDeviation(trace, carrier, c.tau) / allanDeviation(trace, carrier, c.tau), 2);
        EXPECT_NEAR(ratio, static_cast<double>(test::modifiedToAllanRatio(c.noise)), 1e-6) << c.i << " " << c.tau;
        EXPECT_NEAR(ratio, test::publishedModifiedToAllanRatio(c.noise), 0.0051) << c.i << " " << c.tau;
    }
}

// Against the defining integrals evaluated by brute force in long double: traces with several
// slopes, a spur and ripple, a steep one, and a dense export whose levels move by 0.01 dB
// steps, at every tau the rule gives and between them; the time deviation as defined.
TEST(TimeDeviations, MatchTheDefiningIntegrals) {
    test::ReferenceTrace slopes, dense;
    for (int k = 0; k <= 40; ++k) {
        const double f = std::pow(10.0, -1 + k / 10.0);
        slopes.emplace_back(
            f, 10 * std::log10(1e-9 / (f * f * f) + 1e-12 / f + 1e-14) + (k % 3 == 0 ? 1.5 : 0) + (k == 25 ? 20 : 0));
    }
    for (int k = 0; k <= 10000; ++k) {
        const double f = std::pow(10.0, -1 + k / 2000.0);
        dense.emplace_back(f, std::round(100 * 10 * std::log10(1e-9 / (f * f * f) + 3e-13 / f + 1e-16)) / 100);
    }
    test::ReferenceTrace steep;  // -40 dB a decade, three points a decade
    for (int k = -3; k <= 9; ++k) steep.emplace_back(std::pow(10.0, k / 3.0), -60 - 40 * k / 3.0);
    const struct {
        const test::ReferenceTrace& trace;
        std::vector<double> taus;
    } cases[] = {{slopes, {0.01, 0.1, 1, 0.3}}, {steep, {1}}, {dense, {1e-4, 1e-3, 0.01, 0.1, 0.5}}};
    for (const auto& c : cases) {
        const Points points = pointsOf(c.trace);
        for (double tau : c.taus) {
            SCOPED_TRACE(testing::Message() << points.size() << " points, tau " << tau);
            const double allan = std::sqrt(static_cast<double>(test::referenceAllanVariance(c.trace, 5e6, tau)));
            EXPECT_NEAR(allanDeviation(points, 5e6, tau) / allan, 1, 1e-6);
            const double modified = static_cast<double>(test::referenceModifiedAllanDeviation(c.trace, 5e6, tau));
            EXPECT_NEAR(modifiedAllanDeviation(points, 5e6, tau) / modified, 1, 1e-6);
        }
    }
    const Points points = pointsOf(slopes);
    const TimeDeviations deviations = timeDeviations(points, 5e6, all);
    ASSERT_EQ(deviations.time.size(), 3u);  // 1/tau 1 Hz, 10 Hz and 100 Hz
    for (std::size_t i = 0; i < deviations.time.size(); ++i) {
        const double tau = deviations.time[i].tau;
        EXPECT_EQ(deviations.allan[i].value, allanDeviation(points, 5e6, tau));
        EXPECT_EQ(deviations.modified[i].value, modifiedAllanDeviation(points, 5e6, tau));
        EXPECT_NEAR(deviations.time[i].value / static_cast<double>(test::referenceTimeDeviation(slopes, 5e6, tau)), 1,
                    1e-6);
    }
}

// Held out from the engine's making: a sweep at 1000 points a decade whose levels scatter point
// to point (Gaussian, 0.5 dB, printed to 0.01 dB), so that every segment has a steep power law
// of its own, against the defining integrals in long double at every tau of --tau 1-2-5.
TEST(TimeDeviations, MatchTheDefiningIntegralsOnAScatteredSweep) {
    std::mt19937_64 bits(7);
    std::normal_distribution<double> scatter(0, 0.5);
    test::ReferenceTrace sweep;
    for (int k = 0; k <= 5000; ++k) {
        const double f = std::pow(10.0, -1 + k / 1000.0);
        const double level = 10 * std::log10(1e-9 / (f * f * f) + 1e-12 / (f * f) + 1e-16) + scatter(bits);
        sweep.emplace_back(f, std::round(100 * level) / 100);
    }
    const Points points = pointsOf(sweep);
    const TimeDeviations deviations = timeDeviations(points, 10e6, {true, true, false, true});
    ASSERT_EQ(deviations.allan.size(), 10u);  // 1/tau from 1 Hz to 1 kHz
    for (std::size_t i = 0; i < deviations.allan.size(); ++i) {
        const double tau = deviations.allan[i].tau;
        const double allan = std::sqrt(static_cast<double>(test::referenceAllanVariance(sweep, 10e6, tau)));
        const double modified = static_cast<double>(test::referenceModifiedAllanDeviation(sweep, 10e6, tau));
        EXPECT_NEAR(deviations.allan[i].value / allan, 1, 1e-6) << "ADEV, tau " << tau;
        EXPECT_NEAR(deviations.modified[i].value / modified, 1, 1e-6) << "MDEV, tau " << tau;
    }
}

// A spur taken at its power is a tone, S_phi(f) = 2 P delta(f - f_m): P = -60 dBc at 1 kHz on
// 10 MHz, worked by hand at tau = 1 / (2 f_m) = 0.5 ms, where sin(pi tau f_m) = 1:
// sigma_y = sqrt(2 P (f_m / nu0)^2 2 / (pi / 2)^2) = 2 sqrt(P) / (pi tau nu0) = 4e-7 / pi,
// Mod sigma_y = 2 sqrt(P) / (f_m nu0 (pi tau)^2) = 8e-7 / pi^2. At tau = 1 / f_m, a null of
// both kernels, the tone adds nothing. The flat -200 dBc/Hz under
// it adds a part in 1e9.
TEST(TimeDeviations, ASpurAsAToneOfItsPower) {
    const Points quiet{{0.1, -200}, {1e5, -200}};
    const DeviationsAsked threePerDecade{true, true, false, true};
    const TimeDeviations with = timeDeviations(quiet, carrier, threePerDecade, {{1e3, 1e-6}});
    const TimeDeviations without = timeDeviations(quiet, carrier, threePerDecade);
    ASSERT_EQ(with.allan.size(), 13u);
    ASSERT_EQ(with.allan[2].tau, 5e-4);
    EXPECT_NEAR(with.allan[2].value / (4e-7 / pi), 1, 1e-8);
    EXPECT_NEAR(with.modified[2].value / (8e-7 / (pi * pi)), 1, 1e-8);
    ASSERT_EQ(with.allan[3].tau, 1e-3);
    EXPECT_NEAR(with.allan[3].value / without.allan[3].value, 1, 1e-12);
    EXPECT_NEAR(with.modified[3].value / without.modified[3].value, 1, 1e-12);
}

TEST(TimeDeviations, AveragingTimes) {
    const struct {
        double first, last;
        bool threePerDecade;
        std::vector<double> taus;
    } cases[] = {
        {1, 1e6, false, {1e-5, 1e-4, 1e-3, 1e-2, 1e-1}},  // the sample export
        {10, 1e6, false, {1e-5, 1e-4, 1e-3, 1e-2}},
        {10, 100, false, {}},  // no decade inside on both sides
        {0.1, 100, false, {1e-1, 1}},
        {0.15, 100, false, {1e-1}},
        {0.1, 100, true, {0.1, 0.2, 0.5, 1}},
        {1, 1e3, true, {0.01, 0.02, 0.05, 0.1}},
        {0.05, 200, true, {0.05, 0.1, 0.2, 0.5, 1, 2}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(deviationTaus(c.first, c.last, c.threePerDecade), c.taus) << c.first << " " << c.last;
    }
    const Points flat = pointsOf(test::powerLawTrace(-100, 2, 1, 1e6));
    const TimeDeviations none = timeDeviations(flat, 0, all);
    EXPECT_TRUE(none.allan.empty() && none.modified.empty() && none.time.empty());
    const TimeDeviations onlyTime = timeDeviations(flat, carrier, {false, false, true, false});
    EXPECT_TRUE(onlyTime.allan.empty() && onlyTime.modified.empty());
    EXPECT_EQ(onlyTime.time.size(), 5u);
    // Levels and a tau beyond a double's range: the figures overflow, they are not NaN.
    const Points absurd{{1e-300, 1e300}, {1e300, -1e300}};
    EXPECT_EQ(allanDeviation(absurd, 1e9, 1e299), INFINITY);
    EXPECT_EQ(modifiedAllanDeviation(absurd, 1e9, 1e299), INFINITY);
}

}  // namespace
}  // namespace csv2pnp
