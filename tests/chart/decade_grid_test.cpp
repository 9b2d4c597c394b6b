#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "chart/chart_layout.h"
#include "chart/decade_grid.h"
#include "numeric/numeric.h"

namespace csv2pnp {
namespace {

const std::string micro = "\xc2\xb5", minus = "\xe2\x88\x92";

TEST(DecadeGrid, LabelsWithPrefixesAndPowersOfTen) {
    const std::pair<int, std::string> hertz[] = {
        {-15, "1 fHz"}, {-13, "100 fHz"}, {-12, "1 pHz"},  {-4, "100 " + micro + "Hz"}, {-3, "1 mHz"}, {0, "1 Hz"},
        {9, "1 GHz"},   {12, "1 THz"},    {14, "100 THz"},
    };
    for (const auto& [decade, text] : hertz) {
        const TickText label = decadeText(decade, "Hz");
        EXPECT_EQ(label.text, text) << decade;
        EXPECT_EQ(label.superscript, "") << decade;
    }
    const TickText beyond = decadeText(-18, "Hz");
    EXPECT_EQ(beyond.text + "^" + beyond.superscript + "^" + beyond.after, "10^" + minus + "18^ Hz");
    EXPECT_EQ(decadeText(15, "s").superscript, "15");
    EXPECT_EQ(powerText(-7).superscript, minus + "7");
    EXPECT_EQ(powerText(0).text + powerText(0).superscript, "1");
    EXPECT_EQ(powerText(1).text + powerText(1).superscript, "10");
}

// Over 1 to 12 decades, from sub-hertz offsets to gigahertz, on canvases from the least width
// on: the labels are evenly spaced, written with prefixes, and no two come closer than the gap.
TEST(DecadeGrid, NeighbouringLabelsNeverOverlap) {
    for (int width : {minimumSize.first, 800, 1080, 1600}) {
        ChartInput input;
        input.size = std::pair{width, 600};
        for (int decades = 1; decades <= 12; ++decades) {
            for (int first : {-12, -4, -1, 0, 3}) {
                input.offsetRange = OffsetBand{powerOfTen(first), powerOfTen(first + decades)};
                const std::vector<TracePoint> points{{powerOfTen(first), -100}, {powerOfTen(first + decades), -150}};
                input.lines = {ChartLine{"a", "a", false, &points, {}, {}, {}, {}}};
                const ChartLayout layout = layoutChart(input);
                ASSERT_EQ(layout.offsets.last - layout.offsets.first, decades);
                std::vector<const GridLine*> labelled;
                for (const GridLine& line : layout.offsetGrid) {
                    if (line.label.text.empty()) continue;
                    EXPECT_EQ(line.label.text.find('e'), std::string::npos) << line.label.text;
                    labelled.push_back(&line);
                }
                const std::string where = std::to_string(width) + " px, from 1e" + std::to_string(first) + ", " +
                                          std::to_string(decades) + " decades";
                ASSERT_FALSE(labelled.empty()) << where;
                for (std::size_t i = 1; i < labelled.size(); ++i) {
                    const double apart = labelled[i]->at - labelled[i - 1]->at;
                    EXPECT_NEAR(apart, labelled[1]->at - labelled[0]->at, 1e-6) << where;
                    EXPECT_GE(apart - (tickWidth(labelled[i]->label) + tickWidth(labelled[i - 1]->label)) / 2,
                              tickGap - 1e-9)
                        << where << ": " << labelled[i - 1]->label.text << " and " << labelled[i]->label.text;
                }
                // Every decade labelled while they fit: 6 decades on the default canvas.
                if (width >= 1080 && decades <= 6) {
                    EXPECT_EQ(labelled.size(), static_cast<std::size_t>(decades + 1)) << where;
                }
            }
        }
    }
}

}  // namespace
}  // namespace csv2pnp
