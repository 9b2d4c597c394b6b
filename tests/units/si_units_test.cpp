#include <optional>
#include <utility>

#include <gtest/gtest.h>

#include "units/si_units.h"

namespace csv2pnp {
namespace {

TEST(SiUnits, ReadAndWritten) {
    const std::pair<const char*, std::optional<double>> read[] = {
        {"10", 10},
        {"1k", 1e3},
        {"12k", 12e3},
        {"1.5M", 1.5e6},
        {"20M", 20e6},
        {"100m", 0.1},
        {"2G", 2e9},
        {"1kHz", 1e3},
        {"10Hz", 10},
        {"", std::nullopt},
        {"k", std::nullopt},
        {"1x", std::nullopt},
        {"0", std::nullopt},
        {"-5", std::nullopt},
        {"1kk", std::nullopt},
        {"nan", std::nullopt},
        {"1e999", std::nullopt},
        {"1K", 1e3},
        {"12KHz", 12e3},
    };
    for (const auto& [text, value] : read) EXPECT_EQ(parseSiValue(text), value) << text;
    EXPECT_EQ(withPrefix(10e6, "Hz"), "10 MHz");
    EXPECT_EQ(withPrefix(1500, "Hz"), "1.5 kHz");
    EXPECT_EQ(withPrefix(0.1, "Hz"), "100 mHz");
    EXPECT_EQ(withPrefix(64.3462e-15, "s", 5), "64.346 fs");
    EXPECT_EQ(withPrefix(9.99999, "Hz", 5), "10 Hz");
    EXPECT_EQ(withPrefix(0, "Hz"), "0 Hz");
    EXPECT_EQ(significant(0.040430, 5), "0.040430");
    EXPECT_EQ(significant(8164.9658, 6), "8164.97");
    EXPECT_EQ(significant(99999.7, 5), "100000");
    EXPECT_EQ(withDecimals(-40.0043, 3), "-40.004");
}

// A figure keeps the digits it is stated with; far beyond the prefixes it is scientific.
TEST(SiUnits, FiguresKeepTheirDigits) {
    const std::pair<double, const char*> seconds[] = {
        {971e-12, "971.00 ps"}, {64.3462e-15, "64.346 fs"},   {999.996e-12, "1.0000 ns"},
        {2.5e-3, "2.5000 ms"},  {4.4721e-20, "4.4721e-20 s"}, {3e16, "3.0000e+16 s"},
        {0, "0.0000 s"},
    };
    for (const auto& [value, text] : seconds) EXPECT_EQ(figureWithPrefix(value, "s", 5), text) << value;
    const std::pair<double, const char*> plain[] = {
        {2.5823475817683329e28, "2.5823e+28"},
        {4.47216e-16, "4.4722e-16"},
        {0.00084460, "0.00084460"},
        {123456789, "123456789"},
        {1.5e9, "1.5000e+09"},
        {-0.0000001234, "-1.2340e-07"},
    };
    for (const auto& [value, text] : plain) EXPECT_EQ(significant(value, 5), text) << value;
    EXPECT_EQ(withPrefix(1e-20, "Hz", 5), "1e-20 Hz");
    EXPECT_EQ(withPrefix(2.5e17, "Hz"), "2.5e+17 Hz");
}

// A carrier to the millihertz and at most 12 significant digits; a drawn label with the micro
// sign where the console has "u".
TEST(SiUnits, CarriersAndDrawnLabels) {
    const std::pair<double, const char*> carriers[] = {{62500002.32133424, "62.500002321 MHz"},
                                                       {10e6, "10 MHz"},
                                                       {12345678901.23456, "12.3456789012 GHz"},
                                                       {999.99996, "1 kHz"},
                                                       {0.4, "400 mHz"},
                                                       {0, "0 Hz"}};
    for (const auto& [hertz, text] : carriers) EXPECT_EQ(frequencyText(hertz), text) << hertz;
    EXPECT_EQ(drawnWithPrefix(1e-5, "s") + withPrefix(1e-5, "s"), "10 \xc2\xb5s10 us");
}

}  // namespace
}  // namespace csv2pnp
