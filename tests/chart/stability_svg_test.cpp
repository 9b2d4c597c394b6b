#include <string>

#include <gtest/gtest.h>

#include "lines.h"

#include "chart/stability_svg.h"

namespace csv2pnp {
namespace {

std::size_t count(const std::string& text, const std::string& part) { return test::occurrences(text, part); }

// A polyline and a marker a point for each deviation, its marker again in its legend entry;
// texts escaped; nothing but the title without values.
TEST(StabilitySvg, DrawsEachDeviationWithItsMarker) {
    StabilityInput input;
    input.title = "a & b";
    input.series.push_back({"a ADEV", 0, DeviationMarker::circle, {{1e-5, 3e-8}, {1e-4, 4e-9}}});
    input.series.push_back({"a MDEV", 0, DeviationMarker::square, {{1e-5, 9e-9}, {1e-4, 4e-10}}});
    input.series.push_back({"a <TDEV>", 0, DeviationMarker::triangle, {{1e-5, 5e-14}, {1e-4, 2e-14}}});
    const std::string svg = stabilitySvg(layoutStability(input));
    EXPECT_EQ(count(svg, "<polyline"), 3u);
    EXPECT_EQ(count(svg, "<circle"), 3u);
    EXPECT_EQ(count(svg, "<rect x="), 4u);  // the frame of the plot and three squares
    EXPECT_EQ(count(svg, "Z\" fill="), 3u);
    EXPECT_EQ(count(svg, ">a &lt;TDEV&gt;" + std::string(rightAxisNote) + "</text>"), 1u);
    // sigma_y's decades with their exponents raised, tau and TDEV's seconds with prefixes, each
    // axis titled.
    EXPECT_EQ(count(svg,
                    ">10<tspan dy=\"-5\" font-size=\"9\">\xe2\x88\x92"
                    "8</tspan></text>"),
              1u);
    EXPECT_EQ(count(svg, ">10 \xc2\xb5s</text>"), 1u);
    EXPECT_EQ(count(svg, "<g class=\"right-axis\">"), 1u);
    EXPECT_EQ(count(svg, ">10 fs</text>"), 1u);
    EXPECT_EQ(count(svg, ">\xcf\x83y(\xcf\x84): ADEV, MDEV</text>"), 1u);
    EXPECT_EQ(count(svg, ">\xcf\x83x(\xcf\x84) in s: TDEV</text>"), 1u);
    EXPECT_EQ(count(svg, ">a &amp; b</text>"), 1u);
    const std::string empty = stabilitySvg(layoutStability(StabilityInput{"none", {}, false}));
    EXPECT_EQ(count(empty, "<text"), 1u);
    EXPECT_EQ(empty.substr(empty.size() - 7), "</svg>\n");
}

}  // namespace
}  // namespace csv2pnp
