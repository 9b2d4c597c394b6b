#include <limits>
#include <string_view>

#include <gtest/gtest.h>

#include "plot/trace_line.h"

namespace csv2pnp {
namespace {

TEST(TraceLine, Layout) {
    TraceLineBuffer buffer;
    EXPECT_EQ(formatTraceLine(buffer, 0, 10000010, -90), "   TRA 0: 10000010.000 Hz, -90.000 dBc");
    EXPECT_EQ(formatTraceLine(buffer, 4294967296u, 0.0625, -0.0), "   TRA 4294967296: 0.062 Hz, -0.000 dBc");
    double huge = -std::numeric_limits<double>::max();
    std::string_view longest = formatTraceLine(buffer, std::numeric_limits<std::size_t>::max(), huge, huge);
    EXPECT_EQ(longest.size(), 7 + 20 + 2 + 314 + 5 + 314 + 4);
}

// glibc's spelling, kept on Windows too so that both builds write the same bytes.
TEST(TraceLine, SpellsNotANumberTheSameOnEveryHost) {
    double nan = std::numeric_limits<double>::quiet_NaN();
    TraceLineBuffer buffer;
    EXPECT_EQ(formatTraceLine(buffer, 0, nan, -nan), "   TRA 0: nan Hz, -nan dBc");
    EXPECT_EQ(formatTraceLine(buffer, 1, std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()),
              "   TRA 1: inf Hz, -inf dBc");
}

}  // namespace
}  // namespace csv2pnp
