#include <set>
#include <string>

#include <gtest/gtest.h>

#include "chart/chart_theme.h"

namespace csv2pnp {
namespace {

// The shades of one input's lines, worked by hand: #0072B2 40 % toward black is
// (0, 0x72 * 0.6, 0xB2 * 0.6) = (0, 68.4, 106.8), rounded #00446b; 40 % toward white
// (102, 0x72 + 0.4 * 141, 0xB2 + 0.4 * 77) = (102, 170.4, 208.8), #66aad1. Black, the text's
// own colour, is only lightened: 30 % toward white is 76.5, rounded #4d4d4d.
TEST(ChartTheme, ShadesOfAnInputsColour) {
    const ChartTheme& light = lightTheme();
    const struct {
        const char* colour;
        std::size_t member;
        const char* shade;
    } cases[] = {
        {"#0072B2", 0, "#0072B2"},
        {"#0072B2", 1, "#00446b"},
        {"#0072B2", 2, "#66aad1"},
        {"#000000", 1, "#4d4d4d"},
    };
    for (const auto& c : cases) EXPECT_EQ(shadeOf(light, c.colour, c.member), c.shade) << c.colour << " " << c.member;
    // On either background, the first five lines of any input all differ, from each other and
    // from the mask.
    for (const ChartTheme* theme : {&lightTheme(), &darkTheme()}) {
        for (const std::string& colour : theme->palette) {
            std::set<std::string> shades{theme->maskColour};
            for (std::size_t member = 0; member < 5; ++member) shades.insert(shadeOf(*theme, colour, member));
            EXPECT_EQ(shades.size(), 6u) << colour;
        }
    }
}

}  // namespace
}  // namespace csv2pnp
