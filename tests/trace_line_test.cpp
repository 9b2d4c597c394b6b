#include <cmath>
#include <cstdio>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "plot/trace_line.h"

namespace csv2pnp {
namespace {

std::string formatted(std::size_t number, double frequency, double level) {
    TraceLineText text;
    startTraceLines(text, number, frequency);
    return std::string(traceLineFor(text, level));
}

std::string printfLine(std::size_t number, double frequency, double level) {
    std::string text(800, '\0');
    int length = std::snprintf(text.data(), text.size(), "   TRA %zu: %.3f Hz, %.3f dBc", number, frequency, level);
    text.resize(static_cast<std::size_t>(length));
    return text;
}

TEST(TraceLine, PrintsTheDigitsOfPercentPointThreeF) {
    std::vector<double> values = {0.0,     -0.0,    0.0005,  0.0015,   0.0625, -0.0625, 2.5e-4, 1e-300,
                                  -90.25,  1e15,    1e22,    1e300,    -1.7976931348623157e308,
                                  4294967295.0 + 1e6, std::numeric_limits<double>::denorm_min(),
                                  std::numeric_limits<double>::infinity(), -std::numeric_limits<double>::infinity()};
    for (int k = -4096; k <= 4096; ++k) values.push_back(k / 1024.0);  // exact binary ties
    std::mt19937_64 random(20261208);
    std::uniform_real_distribution<double> exponent(-12, 20);
    for (int i = 0; i < 20000; ++i) {
        double value = std::pow(10.0, exponent(random)) * (random() % 2 ? 1 : -1);
        values.push_back(value);
    }
    TraceLineText text;
    for (double value : values) {
        // Both lines of a row share the start.
        startTraceLines(text, 7, value);
        ASSERT_EQ(traceLineFor(text, -value), printfLine(7, value, -value)) << value;
        ASSERT_EQ(traceLineFor(text, value / 3), printfLine(7, value, value / 3)) << value;
    }
}

// glibc's spelling, kept on Windows too so that both builds write the same bytes.
TEST(TraceLine, SpellsNotANumberTheSameOnEveryHost) {
    double nan = std::numeric_limits<double>::quiet_NaN();
    EXPECT_EQ(formatted(0, nan, -nan), "   TRA 0: nan Hz, -nan dBc");
    EXPECT_EQ(formatted(4294967296u, 1, 2), "   TRA 4294967296: 1.000 Hz, 2.000 dBc");
}

}  // namespace
}  // namespace csv2pnp
