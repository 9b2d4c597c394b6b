#include <optional>
#include <string_view>

#include <gtest/gtest.h>

#include "traces/header_units.h"

namespace csv2pnp {
namespace {

TEST(HeaderUnits, UnitsAndFloorNames) {
    EXPECT_EQ(unitInBrackets("Offset (kHz)"), "kHz");
    EXPECT_EQ(unitInBrackets("S_phi [rad\xc2\xb2/Hz] "), "rad\xc2\xb2/Hz");
    EXPECT_EQ(unitInBrackets("(dB) level"), std::nullopt);
    EXPECT_EQ(withoutUnit("PN (avg) [dBc/Hz] "), "PN (avg)");
    EXPECT_EQ(withoutUnit("Phase Noise(dBc/Hz)"), "Phase Noise");
    EXPECT_EQ(hertzPer("MHz"), 1e6);
    EXPECT_EQ(hertzPer("dBm"), std::nullopt);
    EXPECT_TRUE(isDbcPerHz("DBC/HZ") && !isDbcPerHz("dBm/Hz"));
    for (std::string_view floor : {"Floor", "Noise floor (dBc/Hz)", "SYSTEM FLOOR", "sensitivity [dBc/Hz]"}) {
        EXPECT_TRUE(namesFloor(floor)) << floor;
    }
    EXPECT_FALSE(namesFloor("Floorplan") || namesFloor("Phase noise (dBc/Hz)"));
    EXPECT_EQ(amplitudeUnitIn("% Exported 2026-12-09, amplitude units: DBM"), "DBM");
    EXPECT_EQ(amplitudeUnitIn("\"Amplitude units\",\"dBm\""), "dBm");
    EXPECT_EQ(amplitudeUnitIn("% units of the amplitude"), std::nullopt);
}

}  // namespace
}  // namespace csv2pnp
