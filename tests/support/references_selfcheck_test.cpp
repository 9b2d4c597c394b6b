// The references of tests/support checked against each other and against the published relations
// of power-law noise, so that the tests relying on them rely on something tried.
#include <cmath>

#include <gtest/gtest.h>

#include "adev_reference.h"
#include "deviation_reference.h"
#include "power_law_deviations.h"

namespace csv2pnp::test {
namespace {

constexpr double kCarrier = 10e6;
constexpr double kPi = 3.14159265358979323846;

using Noise = PowerLawNoise;

long double relative(long double value, long double expected) { return std::fabs(value / expected - 1.0L); }

// One power-law term on a 10 MHz carrier, traced from 1e-12 Hz to 1e12 Hz, or to the cut-off f_h
// for the phase-modulation terms. sigma_y is worked by hand from the published relation, with
// h = 2 b / nu0^2: white FM h_0 = 2e-24, flicker FM h_-1 = 2e-26, random-walk FM h_-2 = 2e-27,
// white PM h_2 = 2e-29, flicker PM h_1 = 2e-28. The published PM relations drop terms of order
// 1 / (2 pi f_h tau) against the sharp cut-off, hence their wider tolerance.
struct PowerLawCase {
    Noise noise;
    int i;
    double levelAt1Hz;
    double tau;
    double twoPiFhTau;
    double sigmaY;
    double publishedTolerance;
};
constexpr PowerLawCase kPowerLawCases[] = {
    {Noise::WhiteFm, 2, -100, 1, 0, 1.000e-12, 1e-9},
    {Noise::WhiteFm, 2, -100, 0.01, 0, 1.000e-11, 1e-9},
    {Noise::FlickerFm, 3, -120, 1, 0, 1.665e-13, 1e-9},
    {Noise::FlickerFm, 3, -120, 100, 0, 1.665e-13, 1e-9},
    {Noise::RandomWalkFm, 4, -130, 1, 0, 1.147e-13, 1e-9},
    {Noise::WhitePm, 0, -150, 1, 1e3, 1.555e-14, 1e-3},
    {Noise::WhitePm, 0, -150, 0.1, 1e5, 4.918e-12, 2e-6},
    {Noise::FlickerPm, 1, -140, 1, 1e3, 1.050e-14, 2e-4},
    {Noise::FlickerPm, 1, -140, 10, 1e5, 1.343e-15, 4e-5},
};

TEST(DeviationReference, AllanVarianceOfPowerLawTracesMatchesTheRelations) {
    for (const PowerLawCase& c : kPowerLawCases) {
        SCOPED_TRACE(testing::Message() << "alpha " << powerLawAlpha(c.noise) << ", tau " << c.tau);
        const double fh = c.twoPiFhTau > 0 ? c.twoPiFhTau / (2 * kPi * c.tau) : 1e12;
        const ReferenceTrace trace = powerLawTrace(c.levelAt1Hz, c.i, 1e-12, fh);
        ASSERT_EQ(alphaOfPhaseNoiseTerm(c.i), powerLawAlpha(c.noise));
        const long double h = hOfPhaseNoiseTerm(std::pow(10.0L, c.levelAt1Hz / 10.0L), kCarrier);
        const long double published = publishedAllanVariance(c.noise, h, c.tau, fh);
        const long double variance = referenceAllanVariance(trace, kCarrier, c.tau);
        EXPECT_LT(relative(std::sqrt(published), c.sigmaY), 5e-4L);
        EXPECT_LT(relative(variance, exactAllanVariance(c.noise, h, c.tau, fh)), 1e-9L);
        EXPECT_LT(relative(variance, published), c.publishedTolerance);
        EXPECT_LT(relative(referenceModifiedAllanVariance(trace, kCarrier, c.tau), exactModifiedAllanVariance(c.noise, h, c.tau, fh)),
                  1e-9L);
    }
}

// Mod sigma_y^2 / sigma_y^2 of the frequency-modulation terms far from the ends of a wide trace,
// next to the continuous-limit values and the two decimals SP 1065 quotes (0.825 as 0.82).
TEST(DeviationReference, ModifiedToAllanRatiosOfFrequencyNoise) {
    const struct {
        Noise noise;
        int i;
        double tau;
        double ratio;
    } cases[] = {
        {Noise::WhiteFm, 2, 0.01, 0.5},
        {Noise::WhiteFm, 2, 1, 0.5},
        {Noise::WhiteFm, 2, 100, 0.5},
        {Noise::FlickerFm, 3, 1, 0.67462},
        {Noise::RandomWalkFm, 4, 1, 0.825},
    };
    for (const auto& c : cases) {
        const ReferenceTrace trace = powerLawTrace(-110, c.i, 1e-12, 1e12);
        const long double ratio = referenceModifiedAllanVariance(trace, kCarrier, c.tau) / referenceAllanVariance(trace, kCarrier, c.tau);
        EXPECT_NEAR(static_cast<double>(ratio), c.ratio, 1e-5) << c.i << " " << c.tau;
        EXPECT_LT(relative(ratio, modifiedToAllanRatio(c.noise)), 1e-9L) << c.i << " " << c.tau;
        EXPECT_NEAR(static_cast<double>(ratio), publishedModifiedToAllanRatio(c.noise), 0.0051) << c.i << " " << c.tau;
    }
}

// A trace of several slopes with a spur whose sides are steep: the sum by parts past the first
// periods against quadrature throughout, the time deviation against its definition, and the
// Allan deviation against the other reference.
TEST(DeviationReference, IntegrationByPartsAgreesWithQuadratureThroughout) {
    const ReferenceTrace trace = {{1, -100}, {100, -140}, {2000, -150}, {2200, -110}, {2400, -150}, {2e4, -150}};
    for (const double tau : {0.02, 0.05}) {
        const long double modified = referenceModifiedAllanVariance(trace, kCarrier, tau);
        EXPECT_LT(relative(modified, referenceModifiedAllanVariance(trace, kCarrier, tau, kQuadratureThroughout)), 1e-12L);
        const long double allan = referenceAllanVariance(trace, kCarrier, tau);
        EXPECT_LT(relative(allan, referenceAllanVariance(trace, kCarrier, tau, kQuadratureThroughout)), 1e-12L);
        EXPECT_LT(relative(std::sqrt(allan), referenceAllanDeviation(trace, kCarrier, tau)), 1e-12L);
        EXPECT_LT(relative(referenceTimeDeviation(trace, kCarrier, tau), tau / std::sqrt(3.0L) * std::sqrt(modified)), 1e-15L);
    }
}

}  // namespace
}  // namespace csv2pnp::test
