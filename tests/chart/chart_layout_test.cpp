#include <cmath>
#include <set>
#include <string>
#include <tuple>
#include <vector>

#include <gtest/gtest.h>

#include "chart/chart_layout.h"
#include "chart/svg_chart.h"
#include "chart/text_width.h"
#include "lines.h"

namespace csv2pnp {
namespace {

const std::vector<TracePoint> noise{{1, -90}, {100, -140}, {1e4, -160}, {1e6, -179.99}};

ChartInput inputs(std::size_t count, const std::string& name) {
    ChartInput input;
    for (std::size_t i = 0; i < count; ++i) {
        std::string measurement = name + std::to_string(i) + ".csv";
        for (bool floor : {false, true}) {
            input.lines.push_back(ChartLine{measurement + (floor ? " floor" : " phase noise"),
                                            measurement,
                                            floor,
                                            &noise,
                                            {"carrier 10 MHz (assumed)"},
                                            {},
                                            {},
                                            {}});
            if (!floor) input.lines.back().notes.push_back("-99.640 dBc, jitter 234.61 fs");
        }
    }
    input.title = "a title";
    input.band = OffsetBand{10, 1e5};
    return input;
}

// Nine inputs of long names: every input its own look, long texts shortened in the middle;
// the legend under the plot in two columns, each input's entries in one, every entry inside
// the canvas, the carrier they share said once.
TEST(ChartLayout, NineInputsWithLongNames) {
    ChartLayout layout = layoutChart(inputs(9, "VCO_1G2_board_rev3_85C_after_loop_"));
    std::set<std::pair<std::string, std::string>> looks;
    for (const ChartSeries& series : layout.series) {
        if (series.style.width == 2) looks.insert({series.style.colour, series.style.dashes});
    }
    EXPECT_EQ(looks.size(), 9u);
    ASSERT_EQ(layout.legend.size(), 18u);
    EXPECT_TRUE(layout.legendBelow);
    std::set<int> columns;
    for (std::size_t i = 0; i < layout.legend.size(); ++i) {
        const LegendEntry& entry = layout.legend[i];
        columns.insert(entry.x);
        if (i % 2) {
            EXPECT_EQ(entry.x, layout.legend[i - 1].x) << i;
        }
        EXPECT_GT(entry.y - 11, plotArea.top + plotArea.height + 42);  // under the offset axis's title
        EXPECT_EQ(entry.notes.size(), i % 2 ? 0u : 1u);
        // Characters are at most 7 pixels wide at the legend's sizes.
        EXPECT_LE(entry.x + 38 + 7 * static_cast<int>(longestCaption), layout.width);
        EXPECT_LE(entry.y + 15 * static_cast<int>(entry.notes.size()) + 8, layout.height);
        EXPECT_LE(entry.caption.size(), longestCaption + 2);  // the ellipsis is three bytes
    }
    EXPECT_EQ(layout.legend[4].caption,
              "VCO_1G2_board_rev3\xe2\x80\xa6"
              "p_2.csv phase noise");
    EXPECT_EQ(layout.legend[4].tooltip, "VCO_1G2_board_rev3_85C_after_loop_2.csv phase noise");
    EXPECT_EQ(columns.size(), 2u);
    ASSERT_EQ(layout.sharedNotes.size(), 1u);
    EXPECT_EQ(layout.sharedNotes[0].text, "carrier 10 MHz (assumed)");
    // Shorter than the legend beside the plot with the carrier under every entry was:
    // 60 + 9 * (60 + 45) + 20 pixels.
    EXPECT_GT(layout.height, 600);
    EXPECT_LT(layout.height, 60 + 9 * 105 + 20 - 60);
    EXPECT_EQ(layout.width, plotArea.left + plotArea.width + 40);
    // Floors behind the phase-noise traces, thinner and lighter.
    EXPECT_LT(layout.series.front().style.width, 2);
    EXPECT_LT(layout.series.front().style.opacity, 1);
    EXPECT_EQ(layout.series.back().style.width, 2);
}

// The phase-noise traces of one input (an export's traces 1 to 4) each look their own, its
// first as a single trace does, and so do the lines of 14 such inputs, two rounds of the
// palette: no two lines of the chart alike, each legend swatch its line's look.
TEST(ChartLayout, TracesOfOneInputToldApart) {
    ChartInput input;
    for (int group = 0; group < 14; ++group) {
        for (int member = 0; member < 4; ++member) {
            input.lines.push_back(
                ChartLine{"t" + std::to_string(member), "in" + std::to_string(group), false, &noise, {}, {}, {}, {}});
        }
        input.lines.push_back(ChartLine{"floor", "in" + std::to_string(group), true, &noise, {}, {}, {}, {}});
    }
    const ChartLayout layout = layoutChart(input);
    std::set<std::tuple<std::string, std::string, double>> looks;
    for (const ChartSeries& series : layout.series) {
        looks.insert({series.style.colour, series.style.dashes, series.style.width});
        const LineStyle& swatch = layout.legend[series.line].style;
        EXPECT_EQ(swatch.colour + swatch.dashes, series.style.colour + series.style.dashes) << series.line;
    }
    EXPECT_EQ(looks.size(), input.lines.size());
    // After the floors, the first input's traces: the palette's first colour, then a darker and
    // a lighter shade of it.
    EXPECT_EQ(layout.series[14].style.colour + layout.series[14].style.dashes, lightTheme().palette[0]);
    EXPECT_EQ(layout.series[15].style.colour + layout.series[16].style.colour, "#00446b#66aad1");
}

// A short legend stays beside the plot; one line alone keeps its notes.
TEST(ChartLayout, ShortLegendBesideThePlot) {
    ChartLayout two = layoutChart(inputs(2, "osc"));
    EXPECT_FALSE(two.legendBelow);
    EXPECT_EQ(two.width, 1080);
    ASSERT_EQ(two.sharedNotes.size(), 1u);
    EXPECT_EQ(two.sharedNotes[0].text, "carrier 10 MHz (assumed)");
    EXPECT_LT(two.sharedNotes[0].y, two.legend.front().y - 11);
    for (const LegendEntry& entry : two.legend) EXPECT_GT(entry.x, plotArea.left + plotArea.width + 20);
    EXPECT_EQ(layoutChart(inputs(1, "osc")).sharedNotes[0].text, "carrier 10 MHz (assumed)");

    ChartInput one = inputs(1, "osc");
    one.lines.pop_back();
    ChartLayout alone = layoutChart(one);
    EXPECT_TRUE(alone.sharedNotes.empty());
    EXPECT_EQ(alone.legend.front().notes.front(), "carrier 10 MHz (assumed)");
    EXPECT_EQ(alone.legend.front().y, plotArea.top + 10);
}

TEST(ChartLayout, HeadroomBandLabelAndLongTexts) {
    ChartLayout layout = layoutChart(inputs(1, "osc"));
    EXPECT_LE(layout.levels.bottom, -179.99 - levelHeadroom);
    EXPECT_GE(layout.levels.top, -90 + levelHeadroom);
    ASSERT_TRUE(layout.band);
    EXPECT_EQ(layout.band->label, "integrated 10 Hz to 100 kHz");
    EXPECT_EQ(layout.band->clipped.from, 10);
    EXPECT_EQ(layout.band->clipped.to, 1e5);

    ChartInput huge = inputs(1, std::string(1 << 20, 'x'));
    huge.title = std::string(1 << 20, 't');
    std::string svg = svgChart(layoutChart(huge));
    EXPECT_LT(svg.size(), 20'000u);
    EXPECT_NE(svg.find(std::string(39, 't') + "\xe2\x80\xa6" + std::string(40, 't') + "</text>"), std::string::npos);
}

// One band is light grey; several take a tint each, keyed in their labels, which stand one
// under the other and within the plot even where a band reaches its edge.
TEST(ChartLayout, BandsTintedAndLabelledWithinThePlot) {
    ChartInput input = inputs(1, "osc");
    const ChartLayout one = layoutChart(input);
    EXPECT_EQ(one.band->fill, lightTheme().bandFill);
    EXPECT_FALSE(one.band->keyed);
    input.band = OffsetBand{1, 3};
    input.moreBands = {{1e3, 1e4}, {3e5, 1e6}};
    const ChartLayout three = layoutChart(input);
    ASSERT_EQ(three.moreBands.size(), 2u);
    int row = 0;
    for (const ShadedBand* band : {&*three.band, &three.moreBands[0], &three.moreBands[1]}) {
        EXPECT_EQ(band->fill, lightTheme().bandTints[static_cast<std::size_t>(row)]);
        EXPECT_TRUE(band->keyed);
        const double half = textWidth(bandKey + band->label, bandLabelSize) / 2;
        EXPECT_GE(band->labelX - half, three.area.left) << band->label;
        EXPECT_LE(band->labelX + half, three.area.left + three.area.width) << band->label;
        EXPECT_EQ(band->labelY, three.area.top + 14 + 13 * row++);
    }
}

TEST(ChartLayout, DarkTheme) {
    ChartInput input = inputs(2, "osc");
    input.dark = true;
    ChartLayout layout = layoutChart(input);
    EXPECT_EQ(layout.theme.background, darkTheme().background);
    EXPECT_EQ(layout.series.back().style.colour, darkTheme().palette[1]);
    EXPECT_NE(svgChart(layout).find("fill=\"" + darkTheme().background + "\""), std::string::npos);
}

// A long trace above the mask and near its floor gets a few marks a pixel column, not one a
// point; the shading's swatch is the shading; without a band nothing is shaded and the legend
// says how the traces were integrated.
TEST(ChartLayout, MarksThinnedPerColumnAndTheSwatchesLikeWhatTheyExplain) {
    std::vector<TracePoint> dense;
    for (int k = 0; k < 100000; ++k) dense.push_back({std::pow(10.0, k / 20000.0), -100.0 - (k % 7)});
    ChartInput input;
    input.lines.push_back({"a", "g", false, &dense, {}, {{1, 10}}, {}, dense});
    input.lines.back().floorLimited = dense;
    input.wholeRanges = true;
    ChartLayout layout = layoutChart(input);
    EXPECT_LE(layout.failMarks.size(), 4u * static_cast<std::size_t>(layout.area.width));
    EXPECT_GE(layout.failMarks.size(), static_cast<std::size_t>(layout.area.width) / 2);
    EXPECT_EQ(layout.limitMarks.size(), layout.failMarks.size());
    EXPECT_FALSE(layout.band);
    ASSERT_EQ(layout.sharedNotes.size(), 1u);
    EXPECT_EQ(layout.sharedNotes[0].text, "integrated over each trace's whole range");
    EXPECT_EQ(test::occurrences(svgChart(layout), "class=\"band"), 0u);
    for (const LegendEntry& entry : layout.legend) {
        if (entry.swatch != LegendSwatch::shade) continue;
        EXPECT_EQ(entry.style.colour, layout.marginShades.front().colour);
        EXPECT_EQ(entry.style.opacity, marginShadeOpacity);
    }
}

// A fitted line is cut where it leaves the level axis (-190 to -80 dB here), along its own
// straight course in log f; one wholly outside, and a corner outside, are left out.
TEST(ChartLayout, FittedLinesCutToTheLevelAxis) {
    ChartInput input = inputs(1, "fit");
    input.lines[0].fit = ChartFit{{{{1, -90}, {1e6, -270}}, {{1, -60}, {1e6, -60}}, {{1, -160}, {1e6, -160}}},
                                  {{56.2, -121.5}, {1e5, -250}},
                                  {"56.2 Hz", "100 kHz"}};
    const ChartLayout layout = layoutChart(input);
    ASSERT_EQ(layout.levels.bottom, -190);
    ASSERT_EQ(layout.fits.size(), 1u);
    const FitDrawing& fit = layout.fits[0];
    ASSERT_EQ(fit.lines.size(), 2u);
    // -90 - 30 log10 f = -190 at f = 10^(100/30).
    EXPECT_NEAR(fit.lines[0].back().offset / std::pow(10.0, 100.0 / 30), 1, 1e-12);
    EXPECT_NEAR(fit.lines[0].back().level, -190, 1e-9);
    EXPECT_EQ(fit.lines[1].front().offset, 1);
    EXPECT_EQ(fit.labels, std::vector<std::string>{"56.2 Hz"});
    EXPECT_EQ(layout.legend.back().caption, "fitted power laws, their corners");
}

// Two corners a twentieth of a decade apart, on the trace: their labels neither overlap nor
// lie on the trace's line.
TEST(ChartLayout, CloseCornersLabelsClearOfEachOtherAndTheTrace) {
    ChartInput input = inputs(1, "fit");
    input.lines.pop_back();
    // On the trace, which falls 25 dB a decade from -90 dB at 1 Hz.
    input.lines[0].fit = ChartFit{{}, {{40, -130.05}, {45, -131.33}}, {"40 Hz", "45 Hz"}};
    const ChartLayout layout = layoutChart(input);
    const FitDrawing& fit = layout.fits.at(0);
    ASSERT_EQ(fit.labelAt.size(), 2u);
    std::vector<PixelPoint> trace;
    for (const TracePoint& p : layout.series[0].vertices)
        trace.push_back({chartX(layout, p.offset), chartY(layout, p.level)});
    std::vector<PixelBox> boxes;
    for (std::size_t c = 0; c < 2; ++c) {
        boxes.push_back(cornerLabelBox(fit.labelAt[c], textWidth(fit.labels[c], cornerLabelSize)));
        EXPECT_FALSE(crosses(trace, boxes.back())) << c;
    }
    EXPECT_TRUE(boxes[0].bottom <= boxes[1].top || boxes[1].bottom <= boxes[0].top);
}

}  // namespace
}  // namespace csv2pnp
