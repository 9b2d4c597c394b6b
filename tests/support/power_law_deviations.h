// Analytic deviations of power-law noise, for the tests to check the deviations of traces against.
//
// S_y(f) = h_alpha f^alpha, alpha = 2, 1, 0, -1, -2 for white PM, flicker PM, white FM, flicker FM
// and random-walk FM. A term L(f) = b f^-i of a phase-noise trace (b a power ratio per Hz at 1 Hz)
// on a carrier nu0 is such a term with alpha = 2 - i and h_alpha = 2 b / nu0^2, as
// S_y(f) = (f / nu0)^2 * 2 L(f): its level falls 10 i dB per decade.
//
// The published relations are those of NIST Special Publication 1065 (W. J. Riley, Handbook of
// Frequency Stability Analysis, 2008), f_h being the high cut-off that the phase-modulation terms
// need. The exact ones are the same integrals done in closed form, for an ideal sharp cut-off at
// f_h in the phase-modulation terms and none in the frequency-modulation ones; the modified
// variance is that in the limit of many samples per tau.
#pragma once
#include "deviation_reference.h"

namespace csv2pnp::test {

enum class PowerLawNoise { WhitePm, FlickerPm, WhiteFm, FlickerFm, RandomWalkFm };

int powerLawAlpha(PowerLawNoise noise);
// alpha = 2 - i of the term L(f) = b f^-i.
int alphaOfPhaseNoiseTerm(int i);
// h_alpha = 2 b / nu0^2 of the term L(f) = b f^-i, b linear (not dB).
long double hOfPhaseNoiseTerm(long double b, long double carrierHz);

// sigma_y^2(tau) by the published relations:
//   white PM    3 f_h h_2 / (4 pi^2 tau^2)
//   flicker PM  [1.038 + 3 ln(2 pi f_h tau)] h_1 / (4 pi^2 tau^2)
//   white FM    h_0 / (2 tau)
//   flicker FM  2 ln 2 h_-1
//   random-walk FM  (2 pi^2 / 3) tau h_-2
long double publishedAllanVariance(PowerLawNoise noise, long double h, long double tau, long double fh = 0);

// sigma_y^2(tau) exactly; fh matters only to the phase-modulation terms.
long double exactAllanVariance(PowerLawNoise noise, long double h, long double tau, long double fh = 0);
// Mod sigma_y^2(tau) exactly; fh matters only to the phase-modulation terms. For the
// frequency-modulation ones: h_0 / (4 tau), (27 ln 3 - 32 ln 2) / 8 h_-1, (11 pi^2 / 20) tau h_-2.
long double exactModifiedAllanVariance(PowerLawNoise noise, long double h, long double tau, long double fh = 0);

// Mod sigma_y^2 / sigma_y^2 of the frequency-modulation terms: 1/2, (27 ln 3 - 32 ln 2) / (16 ln 2)
// = 0.6746 and 33/40; and the same ratios as SP 1065 quotes them, 0.50, 0.67 and 0.82. NaN for the
// phase-modulation terms, whose ratio depends on the cut-off (see exactModifiedAllanVariance).
long double modifiedToAllanRatio(PowerLawNoise noise);
double publishedModifiedToAllanRatio(PowerLawNoise noise);

// The trace of the single term whose level is levelAt1Hz dBc/Hz at 1 Hz and falls 10 i dB a decade,
// from firstHz to lastHz with a point at each power of ten between them.
ReferenceTrace powerLawTrace(double levelAt1Hz, int i, double firstHz, double lastHz);

}  // namespace csv2pnp::test
