#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "chart/axes.h"
#include "chart/decimate.h"
#include "chart/svg_chart.h"
#include "chart/xml_text.h"
#include "units/si_units.h"

namespace csv2pnp {
namespace {

TEST(ChartAxes, OffsetsSpanWholeDecades) {
    const struct {
        double lowest, highest;
        int first, last;
    } cases[] = {
        {10, 1e6, 1, 6},   {12.5, 9e5, 1, 6}, {0.5, 20, -1, 2}, {1e-3, 1e-3, -3, -2},
        {1000, 1000, 3, 4}, {999.9999, 1000.0001, 2, 4}, {1e-5, 2e8, -5, 9},
    };
    for (const auto& c : cases) {
        OffsetAxis axis = offsetAxisFor(c.lowest, c.highest);
        EXPECT_EQ(axis.first, c.first) << c.lowest;
        EXPECT_EQ(axis.last, c.last) << c.highest;
    }
}

TEST(ChartAxes, LevelsRoundOutwardToTenDecibels) {
    const struct {
        double lowest, highest, bottom, top, step;
    } cases[] = {
        {-179.99, -90, -180, -90, 10}, {-155, -121, -160, -120, 10}, {-100, -100, -100, -90, 10},
        {5, 5, 0, 10, 10},
    };
    for (const auto& c : cases) {
        LevelAxis axis = levelAxisFor(c.lowest, c.highest);
        EXPECT_EQ(axis.bottom, c.bottom) << c.lowest;
        EXPECT_EQ(axis.top, c.top) << c.highest;
        EXPECT_EQ(axis.step, c.step) << c.lowest;
    }
    // A range of absurd levels takes a coarser step instead of billions of lines.
    LevelAxis wide = levelAxisFor(-1e12, 1e12);
    EXPECT_LE(wide.bottom, -1e12);
    EXPECT_GE(wide.top, 1e12);
    EXPECT_LE((wide.top - wide.bottom) / wide.step, 31);
}

// A million-point trace keeps at most four points a pixel column, and every extreme.
TEST(ChartDecimation, KeepsTheExtremesOfEachColumn) {
    std::vector<TracePoint> points;
    for (int i = 0; i < 1'000'000; ++i) {
        points.push_back({std::pow(10.0, 1 + 5e-6 * i), -100.0 - (i % 7)});
    }
    points[500'000].level = -40;   // a spur
    points[700'000].level = -200;  // a notch
    OffsetAxis axis = offsetAxisFor(points.front().offset, points.back().offset);
    std::vector<TracePoint> kept = decimate(points, axis, 640);
    EXPECT_LE(kept.size(), 4u * 640);
    EXPECT_GE(kept.size(), 640u);
    auto has = [&](double level) {
        return std::any_of(kept.begin(), kept.end(), [&](const TracePoint& p) { return p.level == level; });
    };
    EXPECT_TRUE(has(-40));
    EXPECT_TRUE(has(-200));
    EXPECT_EQ(kept.front().offset, points.front().offset);
    EXPECT_EQ(kept.back().offset, points.back().offset);
    EXPECT_TRUE(std::is_sorted(kept.begin(), kept.end(), [](auto& a, auto& b) { return a.offset < b.offset; }));

    Trace trace;
    trace.caption = "big";
    trace.points = points;
    std::string svg = svgChart({{&trace, 1e7}}, "big", OffsetBand{100, 1e4});
    EXPECT_LT(svg.size(), 100'000u);
}

TEST(XmlText, EscapesAndRepairs) {
    const std::pair<std::string, std::string> cases[] = {
        {"osc1.csv", "osc1.csv"},
        {"a&b<c>\"d'", "a&amp;b&lt;c&gt;&quot;d&apos;"},
        {"r\xc3\xa9sultat \xe2\x82\xac \xf0\x9f\x93\xa1", "r\xc3\xa9sultat \xe2\x82\xac \xf0\x9f\x93\xa1"},
        {"bad\xff\xfe", "bad\xef\xbf\xbd\xef\xbf\xbd"},
        {"cut\xc3", "cut\xef\xbf\xbd"},
        {"overlong\xc0\xaf", "overlong\xef\xbf\xbd\xef\xbf\xbd"},
        {"surrogate\xed\xa0\x80", "surrogate\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
        {std::string("nul\0bell\x07", 9), "nul\xef\xbf\xbd" "bell\xef\xbf\xbd"},
        {"tab\tok", "tab\tok"},
        {"\xef\xbf\xbe", "\xef\xbf\xbd"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(xmlText(bytes), text) << bytes;
}

TEST(SiUnits, ReadAndWritten) {
    const std::pair<const char*, std::optional<double>> read[] = {
        {"10", 10},      {"1k", 1e3},   {"12k", 12e3},       {"1.5M", 1.5e6}, {"20M", 20e6},
        {"100m", 0.1},   {"2G", 2e9},   {"1kHz", 1e3},       {"10Hz", 10},    {"", std::nullopt},
        {"k", std::nullopt}, {"1x", std::nullopt}, {"0", std::nullopt}, {"-5", std::nullopt}, {"1kk", std::nullopt},
        {"nan", std::nullopt}, {"1e999", std::nullopt},
    };
    for (const auto& [text, value] : read) EXPECT_EQ(parseSiValue(text), value) << text;
    EXPECT_EQ(withPrefix(10e6, "Hz"), "10 MHz");
    EXPECT_EQ(withPrefix(1500, "Hz"), "1.5 kHz");
    EXPECT_EQ(withPrefix(0.1, "Hz"), "100 mHz");
    EXPECT_EQ(withPrefix(64.3462e-15, "s", 5), "64.346 fs");
    EXPECT_EQ(withPrefix(9.99999, "Hz", 5), "10 Hz");
    EXPECT_EQ(withPrefix(0, "Hz"), "0 Hz");
    EXPECT_EQ(significant(0.040430, 5), "0.040430");
    EXPECT_EQ(significant(8164.9658, 6), "8164.97");
    EXPECT_EQ(significant(99999.7, 5), "100000");
    EXPECT_EQ(withDecimals(-40.0043, 3), "-40.004");
}

}  // namespace
}  // namespace csv2pnp
