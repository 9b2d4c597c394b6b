#include "chart/chart_theme.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace csv2pnp {

namespace {

int channel(const std::string& colour, std::size_t at) {
    int value = 0;
    std::from_chars(colour.data() + 1 + 2 * at, colour.data() + 3 + 2 * at, value, 16);
    return value;
}

// The colour moved the fraction of the way to the other.
std::string mixed(const std::string& colour, const std::string& toward, double fraction) {
    static const char digits[] = "0123456789abcdef";
    std::string result = "#";
    for (std::size_t at = 0; at < 3; ++at) {
        const double from = channel(colour, at), to = channel(toward, at);
        const int value = std::clamp(static_cast<int>(std::lround(from + fraction * (to - from))), 0, 255);
        result += digits[value / 16];
        result += digits[value % 16];
    }
    return result;
}

}  // namespace

const ChartTheme& lightTheme() {
    static const ChartTheme theme{"#ffffff",
                                  "#000000",
                                  "#555555",
                                  "#b0b0b0",
                                  "#e4e4e4",
                                  "#404040",
                                  "#000000",
                                  0.07,
                                  {"#0072B2", "#D55E00", "#009E73", "#CC79A7", "#E69F00", "#56B4E9", "#000000"},
                                  "#B3003C",
                                  {"#56B4E9", "#E69F00", "#009E73", "#CC79A7", "#F0E442"},
                                  0.16};
    return theme;
}

const ChartTheme& darkTheme() {
    static const ChartTheme theme{"#15181c",
                                  "#e6e6e6",
                                  "#a0a6ad",
                                  "#41474e",
                                  "#2a2f35",
                                  "#8a9099",
                                  "#ffffff",
                                  0.09,
                                  {"#56B4E9", "#E69F00", "#2FD3A0", "#F28CC4", "#F0E442", "#FF8A5B", "#C9C9FF"},
                                  "#FF5C7A",
                                  {"#56B4E9", "#E69F00", "#2FD3A0", "#F28CC4", "#F0E442"},
                                  0.2};
    return theme;
}

std::string shadeOf(const ChartTheme& theme, const std::string& colour, std::size_t member) {
    if (member == 0 || colour.size() != 7) return colour;
    // 40 % toward the text, 40 % toward the background, then 60 % each way, and again; a colour
    // as dark as the text (black on white) only lighter, further each turn.
    const std::size_t turn = (member - 1) % 4;
    int nearText = 0;
    for (std::size_t at = 0; at < 3; ++at) nearText += std::abs(channel(colour, at) - channel(theme.text, at));
    if (nearText < 60) return mixed(colour, theme.background, 0.3 + 0.15 * static_cast<double>(turn));
    return mixed(colour, turn % 2 == 0 ? theme.text : theme.background, turn < 2 ? 0.4 : 0.6);
}

}  // namespace csv2pnp
