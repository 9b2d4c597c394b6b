#include <optional>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "traces/header_units.h"

namespace csv2pnp {
namespace {

TEST(HeaderUnits, UnitsAndFloorNames) {
    const struct {
        std::string_view cell;
        std::optional<std::string_view> unit;
    } units[] = {
        {"Offset (kHz)", "kHz"},  {"L [dBc/Hz] ", "dBc/Hz"},    {"S_phi (rad\xc2\xb2/Hz)", "rad\xc2\xb2/Hz"},
        {"Offset", std::nullopt}, {"(dB) level", std::nullopt},
    };
    for (const auto& c : units) EXPECT_EQ(unitInBrackets(c.cell), c.unit) << c.cell;
    EXPECT_EQ(hertzPer("MHz"), 1e6);
    EXPECT_EQ(hertzPer("dBm"), std::nullopt);
    EXPECT_TRUE(isDbcPerHz("DBC/HZ") && isDbcPerHz(" dBc/Hz") && !isDbcPerHz("dBm/Hz"));
    for (std::string_view floor : {"Floor", "Noise floor (dBc/Hz)", "SYSTEM FLOOR", "sensitivity [dBc/Hz]"}) {
        EXPECT_TRUE(namesFloor(floor)) << floor;
    }
    for (std::string_view other : {"Phase noise (dBc/Hz)", "Floorplan", "L"}) EXPECT_FALSE(namesFloor(other)) << other;
    const std::pair<std::string_view, std::optional<std::string_view>> comments[] = {
        {"% Exported 2026-12-09, amplitude units: DBM", "DBM"},
        {"# Amplitude unit = dBc/Hz", "dBc/Hz"},
        {"\"Amplitude units\",\"dBm\"", "dBm"},
        {"% units of the amplitude", std::nullopt},
    };
    for (const auto& [comment, unit] : comments) EXPECT_EQ(amplitudeUnitIn(comment), unit) << comment;
}

}  // namespace
}  // namespace csv2pnp
