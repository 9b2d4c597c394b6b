#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <random>
#include <string>

#include <gtest/gtest.h>

#include "csv2pnp/fixed_three.h"

namespace csv2pnp {
namespace {

std::string printfFixedThree(double value) {
    char text[fixedThreeMaxLength + 8];
    int length = std::snprintf(text, sizeof text, "%.3f", value);
    return std::string(text, static_cast<std::size_t>(length));
}

// Checks one value and its negation, so that every case covers both signs.
void expectPrintfDigits(double value) {
    char text[fixedThreeMaxLength];
    for (double signed_ : {value, -value}) {
        std::string_view got(text, static_cast<std::size_t>(toFixedThree(text, text + sizeof text, signed_) - text));
        ASSERT_EQ(got, printfFixedThree(signed_)) << std::hexfloat << signed_;
    }
}

double fromBits(std::uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

// Over ten million values (5.2 million, each with both signs) against printf itself.
TEST(FixedThree, PrintsWhatPercentPointThreeFPrints) {
    const double limits[] = {0.0,
                             0.0005,
                             0.0015,
                             0.00049999999999999999,
                             2.5e-4,
                             1e-300,
                             1e15,
                             1e16,
                             1e22,
                             1e300,
                             4503599627370495.5,
                             4503599627370496.0,
                             9007199254740993.0,
                             4294967295.0 + 1e6,
                             std::numeric_limits<double>::max(),
                             std::numeric_limits<double>::min(),
                             std::numeric_limits<double>::denorm_min(),
                             std::numeric_limits<double>::infinity()};
    for (double value : limits) expectPrintfDigits(value);

    std::mt19937_64 random(20261208);
    // Any bit pattern but nan, whose spelling printf does not agree on between hosts.
    for (int i = 0; i < 500'000; ++i) {
        double value = fromBits(random() & ~(std::uint64_t{1} << 63));
        if (!std::isnan(value)) expectPrintfDigits(value);
    }
    // The range of offsets, frequencies and levels.
    std::uniform_real_distribution<double> decades(-12, 20);
    for (int i = 0; i < 1'000'000; ++i) expectPrintfDigits(std::pow(10.0, decades(random)));
    // Every kind of rounding tie: the double nearest to n + 0.0005 (which lies above or
    // below the tie) and its two neighbours, for n from the thousandths up to 2^40 / 1000.
    for (int i = 0; i < 900'000; ++i) {
        std::uint64_t n = random() >> (24 + random() % 40);
        double tie = (static_cast<double>(n) + 0.5) / 1000;
        expectPrintfDigits(tie);
        expectPrintfDigits(std::nextafter(tie, 0.0));
        expectPrintfDigits(std::nextafter(tie, 1e300));
    }
    // Exact ties, odd multiples of 1/16, which round to the even last digit.
    for (std::uint64_t j = 1; j < 2'000'000; j += 2) expectPrintfDigits(static_cast<double>(j) / 16);
}

// Given just the room the text needs, it writes the text and nothing after it; given more,
// the same text.
TEST(FixedThree, KeepsWithinTheRoomGiven) {
    std::mt19937_64 random(9122026);
    std::uniform_real_distribution<double> decades(-4, 17);
    for (int i = 0; i < 100'000; ++i) {
        const double value = (i % 2 ? -1 : 1) * std::pow(10.0, decades(random));
        const std::string expected = printfFixedThree(value);
        std::string room(expected.size() + 8, '#');
        char* end = toFixedThree(room.data(), room.data() + expected.size(), value);
        ASSERT_EQ(end, room.data() + expected.size()) << expected;
        ASSERT_EQ(room, expected + "########");
    }
}

}  // namespace
}  // namespace csv2pnp
