// The colours of a chart, on a light or a dark background.
#pragma once

#include <string>
#include <vector>

namespace csv2pnp {

struct ChartTheme {
    std::string background, text, mutedText, gridMajor, gridMinor, frame;
    std::string bandFill;  // one band: a light grey
    double bandOpacity;
    std::vector<std::string> palette;    // for the groups of lines, all readable on the background
    std::string maskColour;              // a colour no line takes
    std::vector<std::string> bandTints;  // several bands: a light tint each, told apart by every reader
    double tintOpacity;
};

// The Okabe-Ito colours, safe for colour-blind readers, without the yellow that does not
// read on white.
const ChartTheme& lightTheme();
// Lighter hues of the same families, for a dark background.
const ChartTheme& darkTheme();

// The member-th shade of a #rrggbb colour, for the lines of one input after its first: the
// colour itself for the first, then by turns nearer the text's colour and nearer the
// background's (darker and lighter on a light background), each turn further; a colour as
// dark as the text only lighter.
std::string shadeOf(const ChartTheme& theme, const std::string& colour, std::size_t member);

}  // namespace csv2pnp
