#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lines.h"

#include "chart/svg_chart.h"

namespace csv2pnp {
namespace {

std::size_t count(const std::string& text, const std::string& part) { return test::occurrences(text, part); }

// What the layout holds is drawn: a polyline a series and one for the mask, a ring a spur, a
// cross a failing point, a shaded range, the band and its label, a legend entry a line and one
// for each kind of mark; texts from the inputs escaped.
TEST(SvgChart, DrawsWhatTheLayoutHolds) {
    const std::vector<TracePoint> noise{{10, -100}, {100, -120}, {1e3, -110}, {1e4, -140}};
    const std::vector<TracePoint> floor{{10, -150}, {1e4, -150}};
    ChartInput input;
    input.lines.push_back({"a <&> \"b\"",
                           "g",
                           false,
                           &noise,
                           {"carrier 10 MHz"},
                           {{1e3, 1e4}},
                           {{1e3, -110}},
                           {{1e3, -110}, {1e4, -140}}});
    input.lines.push_back({"a floor", "g", true, &floor, {}, {}, {}, {}});
    input.title = "t & u";
    input.band = OffsetBand{100, 1e3};
    input.moreBands = {{1e3, 1e4}};
    input.mask = {{10, -90}, {1e4, -145}};
    input.marginThreshold = 6;
    std::string svg = svgChart(layoutChart(input));
    EXPECT_EQ(svg.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
    EXPECT_EQ(count(svg, "<polyline"), 3u);
    EXPECT_EQ(count(svg, "r=\"6\" fill=\"none\""), 2u);  // the ring and its legend swatch
    EXPECT_EQ(count(svg, "<path d=\"M"), 3u);            // two crosses and the swatch
    EXPECT_EQ(count(svg, "class=\"shade\""), 1u);
    EXPECT_EQ(count(svg, "<g class=\"legend-entry\""), 6u);  // two lines, mask, cross, ring, shade
    EXPECT_EQ(count(svg, "<tspan fill=\"" + lightTheme().bandTints[1] + "\">\xe2\x96\xa0 </tspan>integrated 1 kHz"),
              1u);
    EXPECT_EQ(count(svg, ">integrated 100 Hz to 1 kHz</text>"), 1u);
    EXPECT_EQ(count(svg, ">less than 6 dB above the floor</text>"), 1u);
    EXPECT_EQ(count(svg, ">a &lt;&amp;&gt; &quot;b&quot;</text>"), 1u);
    EXPECT_EQ(count(svg, ">t &amp; u</text>"), 1u);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

TEST(SvgChart, NothingToDrawLeavesTheTitle) {
    ChartInput input;
    input.title = "nothing";
    std::string svg = svgChart(layoutChart(input));
    EXPECT_EQ(count(svg, "<text"), 1u);
    EXPECT_EQ(count(svg, "<polyline"), 0u);
    EXPECT_EQ(svg.substr(svg.size() - 7), "</svg>\n");
}

}  // namespace
}  // namespace csv2pnp
