#include <cmath>
#include <vector>

#include <gtest/gtest.h>

#include "figures/floor_margin.h"

namespace csv2pnp {
namespace {

using Points = std::vector<TracePoint>;

TEST(FloorMargin, MarginsRangesAndTheSmallest) {
    const Points trace{{1, -100}, {10, -120}, {100, -140}, {1e3, -150}, {1e4, -155}, {1e5, -158}, {1e6, -160}};
    // The floor's points lie elsewhere: 100 Hz and 10 kHz are read off its lines.
    const Points floor{{10, -135}, {1e3, -158}, {1e5, -164}, {1e6, -165}};
    FloorMargin margin = floorMarginOf(trace, floor, 10);
    const std::optional<double> expected[] = {std::nullopt, 15, -140 - (-146.5), 8, -155 - (-161), 6, 5};
    ASSERT_EQ(margin.margins.size(), trace.size());
    for (std::size_t i = 0; i < trace.size(); ++i) {
        ASSERT_EQ(margin.margins[i].has_value(), expected[i].has_value()) << i;
        if (expected[i]) {
            EXPECT_NEAR(*margin.margins[i], *expected[i], 1e-12) << i;
        }
    }
    EXPECT_EQ(margin.smallest, 5);
    EXPECT_EQ(margin.smallestAt, 1e6);
    ASSERT_EQ(margin.below.size(), 1u);  // 100 Hz (6.5 dB) to 1 MHz: every point from there on
    EXPECT_EQ(margin.below[0].from, 100);
    EXPECT_EQ(margin.below[0].to, 1e6);
    EXPECT_EQ(margin.below[0].points, 5u);
    EXPECT_EQ(margin.belowAt, (std::vector<double>{100, 1e3, 1e4, 1e5, 1e6}));

    FloorMargin tight = floorMarginOf(trace, floor, 6.5);
    ASSERT_EQ(tight.below.size(), 1u);  // 100 Hz sits exactly at 6.5 dB: not below
    EXPECT_EQ(tight.below[0].from, 1e4);
    EXPECT_EQ(tight.below[0].to, 1e6);
    EXPECT_EQ(tight.below[0].points, 3u);
}

// A trace made as the sum of the device's noise and the floor gives the device back, where
// it stands at least 3 dB above the floor; closer, the measured level stays, an upper bound,
// and the correction never exceeds 3 dB.
TEST(FloorMargin, SubtractingTheFloorRecoversTheDeviceWithinTheInstrument) {
    Points device, floor, measured;
    for (int k = 0; k <= 60; ++k) {
        double f = std::pow(10.0, k / 10.0);
        double d = 10 * std::log10(1e-9 / (f * f * f) + 1e-16), fl = -150 - 0.2 * k;
        device.push_back({f, d});
        floor.push_back({f, fl});
        measured.push_back({f, 10 * std::log10(std::pow(10.0, d / 10) + std::pow(10.0, fl / 10))});
    }
    measured.push_back({2e6, -170});                         // beyond the floor: no margin, stays as it is
    measured.insert(measured.begin() + 31, {1000.5, -200});  // below the floor: kept as measured
    device.insert(device.begin() + 31, {1000.5, -200});
    FloorMargin margin = floorMarginOf(measured, floor, 10);
    Points corrected = measured;
    Points limited = subtractFloor(corrected, margin);
    ASSERT_EQ(corrected.size(), measured.size());
    Points expectedLimited;
    for (std::size_t i = 0; i + 1 < corrected.size(); ++i) {
        double m = *margin.margins[i];
        EXPECT_EQ(corrected[i].offset, device[i].offset);
        if (m < floorLimitedMargin) {
            EXPECT_EQ(corrected[i].level, measured[i].level) << device[i].offset;
            expectedLimited.push_back(measured[i]);
        } else {
            EXPECT_NEAR(corrected[i].level, device[i].level, 1e-9) << device[i].offset;
            EXPECT_LE(measured[i].level - corrected[i].level, 3.0103) << device[i].offset;
        }
    }
    EXPECT_EQ(corrected.back().level, -170);
    ASSERT_EQ(limited.size(), expectedLimited.size());
    EXPECT_GE(limited.size(), 2u);  // the point below the floor and the device's closest ones
    EXPECT_EQ(margin.floorLimited, limited.size());
    for (std::size_t i = 0; i < limited.size(); ++i) EXPECT_EQ(limited[i].offset, expectedLimited[i].offset);
}

}  // namespace
}  // namespace csv2pnp
