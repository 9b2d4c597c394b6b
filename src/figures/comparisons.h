// Traces set against each other: three oscillators measured in pairs (the three-cornered hat),
// and one trace against another (before and after).
#pragma once

#include <array>
#include <cstddef>
#include <optional>
#include <vector>

#include "traces/trace.h"

namespace csv2pnp {

// The offsets the traces share: every offset of any of them within the span all of them cover.
std::vector<double> sharedOffsets(const std::vector<const std::vector<TracePoint>*>& traces);

struct HatResult {
    std::array<std::vector<TracePoint>, 3> oscillators;  // A, B, C
    std::array<std::size_t, 3> leftOut{};                // points whose power came out not positive
};

// From A against B, A against C and B against C, each oscillator's own level in linear power on
// the offsets the three share, interpolated as spot noise is: L_A = (L_AB + L_AC - L_BC) / 2,
// L_B = (L_AB + L_BC - L_AC) / 2, L_C = (L_AC + L_BC - L_AB) / 2.
HatResult threeCorneredHat(const std::vector<TracePoint>& ab, const std::vector<TracePoint>& ac,
                           const std::vector<TracePoint>& bc);

struct Difference {
    std::vector<TracePoint> points;  // dB: the trace less the reference, on the offsets they share
    double best = 0, bestAt = 0;     // the lowest difference (the largest improvement) and its offset
    double worst = 0, worstAt = 0;   // the highest difference (the largest worsening) and its offset
};

// Nothing when the two share no offset.
std::optional<Difference> differenceFrom(const std::vector<TracePoint>& trace,
                                         const std::vector<TracePoint>& reference);

}  // namespace csv2pnp
