#include <gtest/gtest.h>

#include "figures/densities.h"

namespace csv2pnp {
namespace {

// At 1 kHz from a 10 MHz carrier, L = -120 dBc/Hz: S_phi = -120 + 3.0103, S_nu adds
// 20 log10(1000) = 60, S_y adds 20 log10(1e-4) = -80, S_x less 20 log10(2 pi 1e7) = 155.96.
TEST(Densities, TheWorkedValues) {
    const struct {
        const char* name;
        double value;
        const char* unit;
    } cases[] = {{"L", -120, "dBc/Hz"},
                 {"Sphi", -116.98970004336019, "dB rad²/Hz"},
                 {"Snu", -56.98970004336019, "dB Hz²/Hz"},
                 {"Sy", -196.98970004336019, "dB 1/Hz"},
                 {"Sx", -272.95329741052251, "dB s²/Hz"}};
    for (const auto& c : cases) {
        std::optional<Density> density = densityNamed(c.name);
        ASSERT_TRUE(density) << c.name;
        EXPECT_NEAR(densityOf(*density, -120, 1000, 1e7), c.value, 1e-9) << c.name;
        EXPECT_EQ(densityInfo(*density).unit, c.unit);
        EXPECT_EQ(densityInfo(*density).name, c.name);
    }
    EXPECT_FALSE(densityNamed("S_phi"));
}

}  // namespace
}  // namespace csv2pnp
