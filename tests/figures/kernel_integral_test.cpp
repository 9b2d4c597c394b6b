#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "figures/kernel_integral.h"
#include "numeric/numeric.h"

namespace csv2pnp {
namespace {

using Points = std::vector<TracePoint>;

// The same lines cut into many points: each dense segment is short against the kernel where
// omega is small and many periods long where it is large, so that the trapezoid, the harmonics
// and the exact way all take part, and every way must agree with the exact one on the sparse
// points. Overflow gives infinity; only the integrals asked for are given.
TEST(KernelIntegral, EveryWayGivesTheSameIntegral) {
    const Points sparse{{1e-3, -40}, {1, -100}, {100, -150}, {1e4, -160}, {1e5, -160}, {2e5, -100}, {3e5, -161}};
    Points dense;
    for (std::size_t i = 0; i + 1 < sparse.size(); ++i) {
        const int pieces = 20000;
        for (int k = 0; k < pieces; ++k) {
            const double f = sparse[i].offset * std::pow(sparse[i + 1].offset / sparse[i].offset, k / double(pieces));
            dense.push_back({f, sparse[i].level + (sparse[i + 1].level - sparse[i].level) * k / pieces});
        }
    }
    dense.push_back(sparse.back());
    const std::vector<double> omegas{pi * 1e-5, pi * 1e-3, pi * 0.1, pi * 10};
    const KernelIntegrals exact = kernelIntegrals(sparse, omegas, true, true);
    const KernelIntegrals cut = kernelIntegrals(dense, omegas, true, true);
    for (std::size_t t = 0; t < omegas.size(); ++t) {
        EXPECT_NEAR(cut.sine4[t] / exact.sine4[t], 1, 1e-9) << omegas[t];
        EXPECT_NEAR(cut.sine6[t] / exact.sine6[t], 1, 1e-9) << omegas[t];
    }
    const KernelIntegrals huge = kernelIntegrals({{1, 3000}, {10, 3300}}, {1.0}, false, true);
    EXPECT_TRUE(huge.sine4.empty());
    EXPECT_EQ(huge.sine6, std::vector<double>{INFINITY});
}

}  // namespace
}  // namespace csv2pnp
