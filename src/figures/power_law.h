// Between two points of a trace the level is a straight line in log f and dB: a power law
// L ~ f^e. Every figure interpolates and integrates it so.
#pragma once

#include "traces/trace.h"

namespace csv2pnp {

// The level at an offset on the line from a to b (a.offset < b.offset), in dB.
double levelBetween(const TracePoint& a, const TracePoint& b, double offset);

// The exponent e of the power law from a to b: (L_b - L_a) ln 10 / (10 ln(f_b / f_a)).
double powerLawExponent(const TracePoint& a, const TracePoint& b);

}  // namespace csv2pnp
