#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "chart/chart_layout.h"
#include "chart/decade_grid.h"
#include "numeric/numeric.h"

namespace csv2pnp {
namespace {

// Prefixes from f to T, µ for micro; beyond them and without a unit, 10 with its exponent
// raised after a true minus sign.
TEST(DecadeGrid, LabelsWithPrefixesAndPowersOfTen) {
    const std::pair<TickText, std::string> labels[] = {{decadeText(-15, "Hz"), "1 fHz||"},
                                                       {decadeText(-4, "Hz"), "100 \xc2\xb5Hz||"},
                                                       {decadeText(9, "Hz"), "1 GHz||"},
                                                       {decadeText(14, "Hz"), "100 THz||"},
                                                       {decadeText(-18, "Hz"),
                                                        "10|\xe2\x88\x92"
                                                        "18| Hz"},
                                                       {powerText(-7),
                                                        "10|\xe2\x88\x92"
                                                        "7|"},
                                                       {powerText(0), "1||"},
                                                       {powerText(1), "10||"}};
    for (const auto& [label, text] : labels) EXPECT_EQ(label.text + "|" + label.superscript + "|" + label.after, text);
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
