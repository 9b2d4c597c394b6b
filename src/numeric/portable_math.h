// The elementary functions the figures and the chart use, computed here from IEEE additions,
// multiplications and divisions alone, so that every build gives the same double for the same
// argument: the host's maths library differs between Linux and Windows in the last bits, and
// the JSON summary writes every bit. Each is within a few units in the last place of the
// exact value.
#pragma once

namespace csv2pnp::math {

double exp(double x);
double expm1(double x);  // e^x - 1, exact near 0
double log(double x);
double log1p(double x);  // ln(1 + x), exact near 0
double log10(double x);
double exp10(double x);  // 10^x
// Exact to a few units in the last place for |x| up to 2^27 pi/2, about 2e8; beyond, the
// reduction by pi/2 loses digits, the same on every build.
double sin(double x);
double cos(double x);
// sin(x) and cos(x) as the two above give them, for the price of one reduction.
void sinCos(double x, double& sine, double& cosine);

}  // namespace csv2pnp::math
