#include <algorithm>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "figures/power_law_fit.h"
#include "numeric/numeric.h"
#include "numeric/portable_math.h"
#include "units/si_units.h"

namespace csv2pnp {
namespace {

using Points = std::vector<TracePoint>;

// The trace of sum b_i f^-i at `perDecade` points a decade from `from` to `to`.
Points modelTrace(const std::vector<double>& b, double from, double to, int perDecade = 20) {
    Points points;
    for (int k = static_cast<int>(std::lround(std::log10(from) * perDecade));
         k <= std::lround(std::log10(to) * perDecade); ++k) {
        const double f = std::pow(10.0, static_cast<double>(k) / perDecade);
        double sum = 0;
        for (std::size_t i = 0; i < b.size(); ++i) sum += b[i] * std::pow(f, -static_cast<double>(i));
        points.push_back({f, 10 * std::log10(sum)});
    }
    return points;
}

PowerLawFit fitted(const Points& points, double carrier = 10e6) {
    std::optional<PowerLawFit> fit = fitPowerLaws(points, std::vector<bool>(points.size(), true), 0, INFINITY, carrier);
    EXPECT_TRUE(fit.has_value());
    return fit.value_or(PowerLawFit{});
}

// A trace of one term gives that term back, to 1e-6, and no other; each h_alpha is 2 b / carrier^2.
TEST(PowerLawFit, OneTermComesBack) {
    for (int i = 0; i < powerLawTerms; ++i) {
        std::vector<double> b(powerLawTerms, 0.0);
        const double level = -100 - 10 * i;
        b[static_cast<std::size_t>(i)] = std::pow(10.0, level / 10);
        const PowerLawFit fit = fitted(modelTrace(b, 0.1, 1e6));
        ASSERT_EQ(fit.terms.size(), 1u) << i;
        EXPECT_EQ(fit.terms[0].i, i);
        EXPECT_NEAR(fit.terms[0].level1Hz, level, 4.3e-6) << i;  // b to 1e-6
        EXPECT_NEAR(fit.terms[0].h / (2 * std::pow(10.0, level / 10) / 1e14), 1, 1e-6);
        EXPECT_LT(fit.maxError, 1e-5);
        EXPECT_TRUE(fit.corners.empty());
    }
}

// b_2 = 1e-10 and b_0 = 1e-16 meet where 1e-10 / f^2 = 1e-16: at 1 kHz. A third term, flicker
// FM at -80 dBc/Hz at 1 Hz, meets white FM at 1e-8 / f^3 = 1e-10 / f^2: 100 Hz. Each decade's
// middle goes to the largest term there; a spur and points left out change nothing.
TEST(PowerLawFit, ThreeTermsTheirCornersAndWhereEachDominates) {
    const std::vector<double> b{1e-16, 0, 1e-10, 1e-8, 0};
    Points points = modelTrace(b, 1, 1e6);
    points[40].level += 30;  // a spur at 100 Hz, left out
    std::vector<bool> use(points.size(), true);
    use[40] = false;
    const std::optional<PowerLawFit> fit = fitPowerLaws(points, use, 0, INFINITY, 10e6);
    ASSERT_TRUE(fit);
    ASSERT_EQ(fit->terms.size(), 3u);
    const int expected[] = {0, 2, 3};
    for (std::size_t k = 0; k < 3; ++k) {
        EXPECT_EQ(fit->terms[k].i, expected[k]);
        EXPECT_NEAR(fit->terms[k].b / b[static_cast<std::size_t>(expected[k])], 1, 1e-6);
    }
    ASSERT_EQ(fit->corners.size(), 2u);
    EXPECT_NEAR(fit->corners[0].offset, 100, 1e-4);
    EXPECT_NEAR(fit->corners[1].offset, 1000, 1e-3);
    EXPECT_EQ(fit->corners[1].shallower, 0);
    EXPECT_EQ(fit->corners[1].steeper, 2);
    EXPECT_EQ(fit->points, points.size() - 1);
    std::vector<int> dominant;
    for (const DominantTerm& d : fit->dominant) dominant.push_back(d.i);
    EXPECT_EQ(dominant, (std::vector<int>{3, 3, 2, 0, 0, 0}));
    EXPECT_LT(fit->maxError, 1e-5);

    // From 1 kHz on: white FM equals white PM at 1 kHz, flicker FM stays 13 dB under the trace
    // and is absent.
    const std::optional<PowerLawFit> high = fitPowerLaws(points, use, 1e3, 1e6, 10e6);
    ASSERT_TRUE(high);
    ASSERT_EQ(high->terms.size(), 2u);
    EXPECT_EQ(high->terms[1].i, 2);
    EXPECT_FALSE(fitPowerLaws(points, use, 5.5e5, 6e5, 10e6));  // one point only
    const Points underflowing{{1e300, -1e300}, {1e305, -1e300}};
    EXPECT_FALSE(fitPowerLaws(underflowing, {true, true}, 0, INFINITY, 10e6));
    // Offsets near 1e84 Hz make a coefficient at 1 Hz of some 10^340: no fit. Near 1e-80 Hz,
    // where f^-4 overflows, the fit's errors are those of the same levels 1e80 times farther out.
    EXPECT_FALSE(fitPowerLaws({{4.4444444444444442e83, -0.48}, {4.4444444444444447e87, -128.41}}, {true, true}, 0,
                              INFINITY, 10e6));
    Points near{{1, -100}, {10, -100.5}, {100, -99.8}, {1000, -100.2}}, tiny = near;
    for (TracePoint& point : tiny) point.offset *= 1e-80;
    const std::optional<PowerLawFit> nearFit = fitPowerLaws(near, std::vector<bool>(4, true), 0, INFINITY, 10e6);
    const std::optional<PowerLawFit> tinyFit = fitPowerLaws(tiny, std::vector<bool>(4, true), 0, INFINITY, 10e6);
    ASSERT_TRUE(nearFit && tinyFit && nearFit->maxError > 0.1);
    EXPECT_NEAR(tinyFit->maxError, nearFit->maxError, 1e-9);
    EXPECT_NEAR(tinyFit->rmsError, nearFit->rmsError, 1e-9);
}

// A trace between two slopes, -25 dB a decade, that no term fits alone: the fit takes white and
// flicker FM as the weighted least squares gives them, worked here from its normal equations in
// long double.
TEST(PowerLawFit, BestFitOfATraceNoTermHolds) {
    Points points;
    for (int k = 0; k <= 40; ++k) points.push_back({std::pow(10.0, k / 10.0), -100 - 25.0 * k / 10.0});
    const PowerLawFit fit = fitted(points);
    long double g22 = 0, g23 = 0, g33 = 0, r2 = 0, r3 = 0;
    for (std::size_t p = 0; p < points.size(); ++p) {
        const long double f = points[p].offset, level = std::pow(10.0L, points[p].level / 10.0L);
        const long double w = p == 0 || p + 1 == points.size() ? 0.5L : 1.0L;  // equal steps in log f
        const long double x2 = 1 / (f * f * level), x3 = 1 / (f * f * f * level);
        g22 += w * x2 * x2, g23 += w * x2 * x3, g33 += w * x3 * x3, r2 += w * x2, r3 += w * x3;
    }
    const long double det = g22 * g33 - g23 * g23;
    const double b2 = static_cast<double>((r2 * g33 - r3 * g23) / det);
    const double b3 = static_cast<double>((g22 * r3 - g23 * r2) / det);
    ASSERT_EQ(fit.terms.size(), 2u);
    EXPECT_EQ(fit.terms[0].i, 2);
    EXPECT_NEAR(fit.terms[0].b / b2, 1, 1e-9);
    EXPECT_NEAR(fit.terms[1].b / b3, 1, 1e-9);
    EXPECT_GT(fit.maxError, 0.5);
    EXPECT_LT(fit.rmsError, fit.maxError);
}

// The sample export's oscillator as a sweep writes it: 1e-9 / f^3 + 3.16e-13 / f + 1e-16 from
// 1 Hz to 1 MHz at 20 points a decade, each level with 0.5 dB of Gaussian scatter, printed to
// 0.01 dB. The scatter the same on every build: splitmix64, and Box-Muller on the portable
// logarithm and cosine.
Points scatteredSweep(std::uint64_t state) {
    auto uniform = [&state] {  // in (0, 1)
        std::uint64_t z = state += 0x9e3779b97f4a7c15u;
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9u;
        z = (z ^ (z >> 27)) * 0x94d049bb133111ebu;
        return (static_cast<double>((z ^ (z >> 31)) >> 11) + 0.5) / 9007199254740992.0;
    };
    Points points;
    for (int k = 0; k <= 120; ++k) {
        const double f = math::exp10(k / 20.0), radius = std::sqrt(-2 * math::log(uniform()));
        const double level =
            10 * math::log10(1e-9 / (f * f * f) + 3.16e-13 / f + 1e-16) + 0.5 * radius * math::cos(2 * pi * uniform());
        points.push_back({f, std::round(level * 100) / 100});
    }
    return points;
}

// On 20 realisations, the fit finds flicker FM, flicker PM and white PM and nothing else in at
// least 19, every level within 1 dB and every corner (56.25 Hz and 3.1646 kHz) within 15 %;
// the levels' sigmas are their spread over the realisations, to 25 % (the spread of 20
// realisations of three terms is itself uncertain by about 10 %).
TEST(PowerLawFit, TermsOfAScatteredSweep) {
    const int expected[] = {0, 1, 3};
    const double levels[] = {-160, 10 * std::log10(3.16e-13), -90};
    const double corners[] = {3.16e-13 / 1e-16, std::sqrt(1e-9 / 3.16e-13)};  // flicker PM's with i = 0, 3
    std::string table = "seed  terms  level errors (dB)  corners (error, or the terms that meet and where)\n";
    int clean = 0, wrong = 0;
    double spread = 0, sigmas = 0, sums[3] = {};
    for (std::uint64_t seed = 1; seed <= 20; ++seed) {
        const PowerLawFit fit = fitted(scatteredSweep(seed));
        table += std::to_string(seed) + "  ";
        for (const PowerLawTerm& term : fit.terms) table += std::to_string(term.i);
        bool exact = fit.terms.size() == 3;
        for (std::size_t k = 0; k < 3; ++k) {
            auto term = std::find_if(fit.terms.begin(), fit.terms.end(),
                                     [&](const PowerLawTerm& t) { return t.i == expected[k]; });
            const double error = term == fit.terms.end() ? INFINITY : term->level1Hz - levels[k];
            exact = exact && term != fit.terms.end();
            wrong += !(std::fabs(error) <= 1);
            table += " " + withDecimals(error, 2);
            if (!std::isfinite(error)) continue;
            sums[k] += error, spread += error * error, sigmas += term->levelSigma * term->levelSigma;
        }
        for (const FitCorner& corner : fit.corners) {
            const bool made = corner.steeper + corner.shallower == 1 || corner.steeper * corner.shallower == 3;
            const double error = made ? corner.offset / corners[corner.shallower] - 1 : INFINITY;
            wrong += exact && !(std::fabs(error) <= 0.15);
            table += made ? " " + withDecimals(100 * error, 1) + "%"
                          : " " + std::to_string(corner.steeper) + "=" + std::to_string(corner.shallower) + " at " +
                                withPrefix(corner.offset, "Hz", 3);
        }
        clean += exact;
        table += "\n";
    }
    EXPECT_GE(clean, 19) << table;
    EXPECT_EQ(wrong, 0) << table;
    for (double sum : sums) spread -= sum * sum / 20;
    EXPECT_NEAR(std::sqrt(spread / sigmas), 1, 0.25) << table;
}

// NIST SP 1065's relations, from terms on a 10 MHz carrier: -100 dBc/Hz at 1 Hz falling 20 dB
// a decade is white FM with h_0 = 2e-24, sigma_y(1 s) = sqrt(h_0 / 2) = 1.000e-12; flicker FM
// at -120 dBc/Hz, h_-1 = 2e-26, gives sqrt(2 ln 2 h_-1) = 1.665e-13 at every tau.
TEST(PowerLawFit, AllanDeviationOfEachTerm) {
    const PowerLawFit white = fitted(modelTrace({0, 0, 1e-10, 0, 0}, 0.1, 1e6));
    EXPECT_NEAR(std::sqrt(termAllanVariance(white.terms.at(0), 1, 1e6)), 1.000e-12, 1e-16);
    EXPECT_NEAR(std::sqrt(termAllanVariance(white.terms.at(0), 100, 1e6)), 1.000e-13, 1e-17);
    const PowerLawFit flicker = fitted(modelTrace({0, 0, 0, 1e-12, 0}, 0.1, 1e6));
    for (double tau : {1e-3, 1.0, 1e3}) {
        EXPECT_NEAR(std::sqrt(termAllanVariance(flicker.terms.at(0), tau, 1e6)), 1.665e-13, 5e-17) << tau;
    }
    // The phase terms by hand at 1 s with f_h = 1 MHz: white PM h_2 = 2e-29,
    // sqrt(3e6 * 2e-29) / (2 pi) = 1.2328e-12; flicker PM h_1 = 2e-28,
    // sqrt((1.038 + 3 ln(2 pi 1e6)) 2e-28) / (2 pi) = sqrt(47.998 * 2e-28) / (2 pi) = 1.5594e-14.
    const PowerLawTerm whitePm{0, 1e-15, -150, 2e-29}, flickerPm{1, 1e-14, -140, 2e-28};
    EXPECT_NEAR(std::sqrt(termAllanVariance(whitePm, 1, 1e6)), 1.2328e-12, 1e-16);
    EXPECT_NEAR(std::sqrt(termAllanVariance(flickerPm, 1, 1e6)), 1.5594e-14, 1e-18);
}

}  // namespace
}  // namespace csv2pnp
