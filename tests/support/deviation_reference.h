// Independent references for the time-domain deviations of a phase-noise trace, for the tests:
// the defining integrals over the trace evaluated in long double, slowly and carefully.
//
// A trace is a list of (offset in Hz, level in dBc/Hz) with rising offsets; between neighbouring
// points the level is a straight line in log10(f) and dB, and there is nothing outside the first
// and the last offset. With L(f) = 10^(level / 10), S_phi(f) = 2 L(f) and
// S_y(f) = (f / carrier)^2 S_phi(f):
//
//   Allan variance           sigma_y^2(tau)     = 2 * integral S_y(f) sin^4(pi tau f) / (pi tau f)^2 df
//   modified Allan variance  Mod sigma_y^2(tau) = 2 * integral S_y(f) sin^6(pi tau f) / (pi tau f)^4 df
//   time deviation           sigma_x(tau)       = tau / sqrt(3) * Mod sigma_y(tau)
//
// the modified variance being the limit of many samples per tau.
#pragma once
#include <limits>
#include <utility>
#include <vector>

namespace csv2pnp::test {

// (offset in Hz, level in dBc/Hz), offsets rising.
using ReferenceTrace = std::vector<std::pair<double, double>>;

// Up to this many periods of the kernel (f tau below it) the integrand is summed by composite
// Gauss-Legendre quadrature. Past them, where the kernel only oscillates, each harmonic of
// sin^4 or sin^6 is integrated against the power law of the segment by parts, to the last digit of
// long double, which keeps a call on a trace reaching 10 MHz at tau = 1 s short. Infinity sums
// everything by quadrature (slow on wide traces, and the check on the other way).
inline constexpr double kQuadraturePeriods = 64.0;
inline constexpr double kQuadratureThroughout = std::numeric_limits<double>::infinity();

long double referenceAllanVariance(const ReferenceTrace& points, double carrierHz, double tauSeconds,
                                   double quadraturePeriods = kQuadraturePeriods);
long double referenceModifiedAllanVariance(const ReferenceTrace& points, double carrierHz, double tauSeconds,
                                           double quadraturePeriods = kQuadraturePeriods);
// Mod sigma_y(tau), dimensionless.
long double referenceModifiedAllanDeviation(const ReferenceTrace& points, double carrierHz, double tauSeconds,
                                            double quadraturePeriods = kQuadraturePeriods);
// sigma_x(tau) in seconds.
long double referenceTimeDeviation(const ReferenceTrace& points, double carrierHz, double tauSeconds,
                                   double quadraturePeriods = kQuadraturePeriods);

}  // namespace csv2pnp::test
