#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "chart/svg_parts.h"
#include "lines.h"

namespace csv2pnp {
namespace {

TEST(SvgParts, StrokesOpeningAndGrid) {
    const std::pair<LineStyle, std::string> strokes[] = {
        {{"#0072b2", 2, "", 1}, "stroke=\"#0072b2\" stroke-width=\"2\""},
        {{"#0072b2", 1.25, "6 3", 0.6},
         "stroke=\"#0072b2\" stroke-width=\"1.25\" stroke-dasharray=\"6 3\" stroke-opacity=\"0.60\""},
    };
    for (const auto& [style, text] : strokes) EXPECT_EQ(svgStroke(style), text);
    const ChartTheme& theme = lightTheme();
    EXPECT_EQ(svgOpening(800, 400, theme, "stability")
                  .rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" "
                         "version=\"1.1\" class=\"stability\" width=\"800\" height=\"400\" viewBox=\"0 0 800 400\"",
                         0),
              0u);
    // A label only where a line has one; minor lines in the lighter colour, either way round.
    const std::string grid = svgGrid({80, 50, 640, 480}, theme, {{80, false, {"1 Hz"}}, {120.5, true, {}}},
                                     {{530, true, {}}, {50, false, {"-90"}}});
    EXPECT_EQ(test::occurrences(grid, "<text"), 2u);
    EXPECT_EQ(test::occurrences(grid, "stroke=\"" + theme.gridMinor + "\""), 2u);
    EXPECT_EQ(test::occurrences(grid, "x1=\"120.5\""), 1u);
}

}  // namespace
}  // namespace csv2pnp
