#include <algorithm>
#include <random>
#include <vector>

#include <gtest/gtest.h>

#include "numeric/sliding_median.h"

namespace csv2pnp {
namespace {

// Windows that grow, shrink and jump along sequences of ties (and -0 beside 0), of scattered
// numbers, and of two clusters thousands of ranks apart between which the median leaps, against
// a sort: of an even count the higher middle number.
TEST(SlidingMedian, IsTheMedianOfTheWindow) {
    std::mt19937 random(11);
    std::uniform_real_distribution<double> any(-200, 50);
    for (int sequence = 0; sequence < 3; ++sequence) {
        std::vector<double> values(10000);
        for (std::size_t i = 0; i < values.size(); ++i) {
            values[i] = sequence == 0   ? static_cast<double>(random() % 7) - 3
                        : sequence == 1 ? any(random)
                                        : (i % 2 ? 1e6 : -1e6) + any(random);
        }
        values[5] = -0.0;
        SlidingMedian window(values);
        for (std::size_t from = 0, to = 0; from < values.size(); from += random() % 30) {
            to = std::min(values.size(), std::max(to, from + 1) + random() % 40);
            window.moveTo(from, to);
            std::vector<double> sorted(values.begin() + static_cast<std::ptrdiff_t>(from),
                                       values.begin() + static_cast<std::ptrdiff_t>(to));
            std::sort(sorted.begin(), sorted.end());
            ASSERT_EQ(window.median(), sorted[sorted.size() / 2]) << from << ".." << to;
        }
    }
}

}  // namespace
}  // namespace csv2pnp
