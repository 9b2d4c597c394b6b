// Frequency stability in the time domain that a phase-noise trace implies: the Allan, the
// modified Allan and the time deviation, from S_y(f) = (f / carrier)^2 2 L(f) over the trace's
// power-law segments (nothing outside its offsets).
#pragma once

#include <vector>

#include "traces/trace.h"

namespace csv2pnp {

struct DeviationPoint {
    double tau;    // s
    double value;  // sigma_y (dimensionless), or sigma_x in seconds for the time deviation
};

// The averaging times whose 1/tau lies at least a decade inside the trace's offsets on both
// sides, 10 f_first <= 1/tau <= f_last / 10, so that the kernel's main lobe is covered: the
// powers of ten, or with threePerDecade 1, 2 and 5 times them.
std::vector<double> deviationTaus(double firstOffset, double lastOffset, bool threePerDecade = false);

struct DeviationsAsked {
    bool allan = false;     // sigma_y^2 = 2 integral of S_y sin^4(pi tau f) / (pi tau f)^2 df
    bool modified = false;  // Mod sigma_y^2 = 2 integral of S_y sin^6(pi tau f) / (pi tau f)^4 df
    bool time = false;      // sigma_x = tau / sqrt(3) Mod sigma_y
    bool threePerDecade = false;
};

struct TimeDeviations {
    DeviationsAsked asked;
    std::vector<DeviationPoint> allan, modified, time;  // each empty unless asked
};

// A discrete tone of phase noise, as a spur taken at its power: S_phi(f) = 2 power delta(f - offset).
struct PhaseTone {
    double offset;  // Hz
    double power;   // single sideband, a power ratio
};

// Each asked-for deviation at each of deviationTaus; all empty when no tau qualifies or the
// carrier is not above 0. A figure beyond a double's range is infinity. Each tone adds its
// variance in closed form through the deviation's transfer function: to the Allan variance
// 2 P (f_m / carrier)^2 |H(f_m)|^2 with |H(f)|^2 = 2 sin^4(pi tau f) / (pi tau f)^2, to the
// modified one the same with 2 sin^6(pi tau f) / (pi tau f)^4.
TimeDeviations timeDeviations(const std::vector<TracePoint>& points, double carrier, const DeviationsAsked& asked,
                              const std::vector<PhaseTone>& tones = {});

// One figure at one tau, for a caller that chooses its own.
double allanDeviation(const std::vector<TracePoint>& points, double carrier, double tau);
double modifiedAllanDeviation(const std::vector<TracePoint>& points, double carrier, double tau);

}  // namespace csv2pnp
