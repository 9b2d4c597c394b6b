// An independent reference for the Allan deviation of a phase-noise trace, for the tests:
// the defining integral evaluated by brute force in long double.
#pragma once
#include <utility>
#include <vector>
namespace csv2pnp::test {
// points: (offset in Hz, level in dBc/Hz), offsets rising. Returns sigma_y(tau).
long double referenceAllanDeviation(const std::vector<std::pair<double, double>>& points, double carrierHz,
                                    double tauSeconds);
}  // namespace csv2pnp::test
