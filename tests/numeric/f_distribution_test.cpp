#include <cmath>

#include <gtest/gtest.h>

#include "numeric/f_distribution.h"

namespace csv2pnp {
namespace {

// Closed forms: F(1, 1) is the square of a Cauchy variable, P(F > f) = 1 - (2 / pi) atan(sqrt f),
// 1/3 at f = 3; F(2, d) has P(F > f) = (1 + 2 f / d)^(-d / 2), 1.6^-5 at f = 3, d = 10; F(1, 2)
// has 1 - sqrt(f / (2 + f)), 1 - 1/sqrt 5 at 1/2. The 1 % and 5 % points of the published tables
// (NIST/SEMATECH e-Handbook 1.3.6.7.3) to their three decimals, and of chi-square with one
// degree of freedom, 6.635, which F(1, d) becomes as d grows.
TEST(FDistribution, TailAgainstClosedFormsAndPublishedPoints) {
    const double cases[][5] = {{3, 1, 1, 1.0 / 3, 1e-12},
                               {3, 2, 10, 0.095367431640625, 1e-12},
                               {0.5, 1, 2, 0.5527864045000421, 1e-12},
                               {10.044, 1, 10, 0.01, 2e-6},
                               {3.920, 1, 120, 0.05, 1e-5},
                               {4.431, 4, 20, 0.01, 1e-5},
                               {6.635, 1, 1e6, 0.01, 1e-6},
                               {0, 1, 10, 1, 0},
                               {INFINITY, 1, 10, 0, 0}};
    for (const auto& c : cases) EXPECT_NEAR(fTail(c[0], c[1], c[2]), c[3], c[4]) << c[0] << " " << c[1] << " " << c[2];
    EXPECT_TRUE(std::isnan(fTail(NAN, 1, 10)));
}

}  // namespace
}  // namespace csv2pnp
