#include <optional>
#include <utility>

#include <gtest/gtest.h>

#include "units/si_units.h"

namespace csv2pnp {
namespace {

TEST(SiUnits, ReadAndWritten) {
    const std::pair<const char*, std::optional<double>> read[] = {
        {"10", 10},      {"1k", 1e3},   {"12k", 12e3},       {"1.5M", 1.5e6}, {"20M", 20e6},
        {"100m", 0.1},   {"2G", 2e9},   {"1kHz", 1e3},       {"10Hz", 10},    {"", std::nullopt},
        {"k", std::nullopt}, {"1x", std::nullopt}, {"0", std::nullopt}, {"-5", std::nullopt}, {"1kk", std::nullopt},
        {"nan", std::nullopt}, {"1e999", std::nullopt},
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

}  // namespace
}  // namespace csv2pnp
