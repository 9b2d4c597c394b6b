// Numbers both the figures and the chart rely on, the same double on every host.
#pragma once

namespace csv2pnp {

inline constexpr double pi = 3.14159265358979323846;

// 10^exponent: products of tens are exact up to 10^22, and one division rounds correctly
// below 1.
double powerOfTen(int exponent);

// ln(b / a) for positive a and b, to full precision also when b / a is close to 1, where
// the quotient alone would have lost the digits that tell them apart.
double logRatio(double a, double b);

}  // namespace csv2pnp
