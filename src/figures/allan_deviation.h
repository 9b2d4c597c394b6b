// Frequency stability in the time domain: the Allan deviation that a phase-noise trace implies.
#pragma once

#include <optional>
#include <vector>

#include "traces/trace.h"

namespace csv2pnp {

struct AllanPoint {
    double tau;     // s, a whole power of ten
    double sigmaY;  // the Allan deviation, dimensionless
};

// The averaging times 10^k s whose 1/tau lies at least a decade inside the trace's offsets on
// both sides: 10 f_first <= 1/tau <= f_last / 10, so that the kernel's main lobe is covered.
std::vector<double> allanTaus(double firstOffset, double lastOffset);

// sigma_y^2(tau) = 2 * integral of S_y(f) sin^4(pi tau f) / (pi tau f)^2 df over the trace's
// offsets (nothing outside them), with S_phi = 2 L, S_y = (f / carrier)^2 S_phi and L the
// trace's power-law segments. Up to 64 periods of the kernel from the origin, each segment is
// integrated by Gauss-Legendre on pieces short against the kernel and the power law; beyond,
// sin^4 = 3/8 - cos(2x)/2 + cos(4x)/8 splits it into a closed-form power law and two cosine
// integrals taken by their asymptotic series, whose error is bounded far below 1e-9.
double allanDeviation(const std::vector<TracePoint>& points, double carrier, double tau);

// allanDeviation at each of allanTaus; empty when no tau qualifies or the carrier is 0.
std::vector<AllanPoint> allanDeviations(const std::vector<TracePoint>& points, double carrier);

}  // namespace csv2pnp
