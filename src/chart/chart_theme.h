// The colours of a chart, on a light or a dark background.
#pragma once

#include <string>
#include <vector>

namespace csv2pnp {

struct ChartTheme {
    std::string background, text, mutedText, gridMajor, gridMinor, frame;
    std::string bandFill;
    double bandOpacity;
    std::vector<std::string> palette;  // for the groups of lines, all readable on the background
    std::string maskColour;            // a colour no line takes
};

// The Okabe-Ito colours, safe for colour-blind readers, without the yellow that does not
// read on white.
const ChartTheme& lightTheme();
// Lighter hues of the same families, for a dark background.
const ChartTheme& darkTheme();

}  // namespace csv2pnp
