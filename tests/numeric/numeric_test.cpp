#include <cmath>
#include <utility>

#include <gtest/gtest.h>

#include "numeric/numeric.h"

namespace csv2pnp {
namespace {

// Against long double logarithms of the exact difference: a ratio near 1 keeps its digits.
TEST(Numeric, LogRatioKeepsTheDigitsOfARatioNearOne) {
    const std::pair<double, double> cases[] = {
        {150, 150.00000000001}, {1e-3, 1.000000000000001e-3}, {10, 10}, {1, 2}, {2, 1}, {1, 1e300}, {7, 3.5},
        {1e6, 1e6 + 1}};
    for (const auto& [a, b] : cases) {
        long double exact = std::log1p((static_cast<long double>(b) - a) / a);
        EXPECT_NEAR(logRatio(a, b), static_cast<double>(exact), 1e-15 * std::fabs(static_cast<double>(exact)) + 1e-300)
            << a << " " << b;
    }
    EXPECT_EQ(powerOfTen(22), 1e22);
    EXPECT_EQ(powerOfTen(-3), 0.001);
    EXPECT_EQ(powerOfTen(0), 1);
}

}  // namespace
}  // namespace csv2pnp
