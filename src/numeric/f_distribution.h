// The F distribution's upper tail: how likely the scatter of the data alone is to make one
// least-squares fit's error that much smaller than another's.
#pragma once

namespace csv2pnp {

// P(F > f) for F with d1 and d2 degrees of freedom, both above 0: the regularised incomplete
// beta function I_x(d2 / 2, d1 / 2) at x = d2 / (d2 + d1 f). 1 for f of 0 or less, 0 for an
// infinite f, not a number for a NaN. To a few parts in 1e10, the same on every build.
double fTail(double f, double d1, double d2);

}  // namespace csv2pnp
