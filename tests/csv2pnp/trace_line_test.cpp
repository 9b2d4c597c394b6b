#include <cstddef>
#include <limits>
#include <random>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "csv2pnp/trace_line.h"

namespace csv2pnp {
namespace {

TEST(TraceLine, Layout) {
    TraceLineFormatter lines;
    lines.start(0, 10000010);
    EXPECT_EQ(lines.withLevel(-90), "   TRA 0: 10000010.000 Hz, -90.000 dBc\r\n");
    // The second level of a row replaces the first, whatever its length.
    EXPECT_EQ(lines.withLevel(-100.25), "   TRA 0: 10000010.000 Hz, -100.250 dBc\r\n");
    EXPECT_EQ(lines.withLevel(5), "   TRA 0: 10000010.000 Hz, 5.000 dBc\r\n");
    lines.start(4294967296u, 0.0625);
    EXPECT_EQ(lines.withLevel(-0.0), "   TRA 4294967296: 0.062 Hz, -0.000 dBc\r\n");
    double huge = -std::numeric_limits<double>::max();
    lines.start(std::numeric_limits<std::size_t>::max(), huge);
    EXPECT_EQ(lines.withLevel(huge).size(), 7 + 20 + 2 + 314 + 5 + 314 + 4 + 2);
}

// glibc's spelling, kept on Windows too so that both builds write the same bytes.
TEST(TraceLine, SpellsNotANumberTheSameOnEveryHost) {
    double nan = std::numeric_limits<double>::quiet_NaN();
    TraceLineFormatter lines;
    lines.start(0, nan);
    EXPECT_EQ(lines.withLevel(-nan), "   TRA 0: nan Hz, -nan dBc\r\n");
    lines.start(1, std::numeric_limits<double>::infinity());
    EXPECT_EQ(lines.withLevel(-std::numeric_limits<double>::infinity()), "   TRA 1: inf Hz, -inf dBc\r\n");
}

// Numbers counted on from the last line, across every carry, read as numbers written
// afresh; so do numbers that start again, jump or stand still.
TEST(TraceLine, NumbersCountOnAsWrittenAfresh) {
    TraceLineFormatter lines;
    std::mt19937_64 random(9122026);
    const std::size_t largest = std::numeric_limits<std::size_t>::max();
    std::size_t number = 0;
    for (int i = 0; i < 300'000; ++i) {
        switch (random() % 1000) {
        case 0: number = 0; break;
        case 1: number = random() % 100000; break;
        case 2: number = largest - random() % 3; break;
        case 3: break;
        default: number = number == largest ? 0 : number + 1;
        }
        lines.start(number, 10000000 + i % 3);
        ASSERT_EQ(lines.withLevel(-90), "   TRA " + std::to_string(number) + ": 1000000" + std::to_string(i % 3) +
                                            ".000 Hz, -90.000 dBc\r\n");
    }
}

}  // namespace
}  // namespace csv2pnp
