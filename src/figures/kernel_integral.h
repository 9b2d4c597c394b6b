// The integrals behind the time-domain deviations of a trace: over its power-law segments
// L(f) (nothing outside the first and the last offset), of L(f) sin^4(omega f) and of
// L(f) f^-2 sin^6(omega f), for several omega in one pass over the points.
#pragma once

#include <vector>

#include "traces/trace.h"

namespace csv2pnp {

struct KernelIntegrals {
    std::vector<double> sine4;  // integral of L(f) sin^4(omega f) df, one per omega
    std::vector<double> sine6;  // integral of L(f) f^-2 sin^6(omega f) df, one per omega
};

// Each asked-for list holds a value per omega (omega > 0), the other is empty; a value that
// a double cannot hold is infinity, never NaN. Each segment is taken by the cheapest way that
// is exact to about 1e-9 of it, whatever its power law: one short against the kernel and in
// log f by the power law's moments in closed form against the kernel's cubic through its ends;
// one many periods long but short in log f (a dense export far out) by the harmonics of sin^n
// against the power law in closed form; any other in closed form where the kernel is a power
// too, by Gauss-Legendre up to 64 periods, and beyond by the asymptotic series of the harmonics.
KernelIntegrals kernelIntegrals(const std::vector<TracePoint>& points, const std::vector<double>& omegas, bool sine4,
                                bool sine6);

}  // namespace csv2pnp
