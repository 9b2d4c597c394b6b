#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "chart/decimate.h"
#include "chart/svg_chart.h"

namespace csv2pnp {
namespace {

// A million-point trace keeps at most four points a pixel column, and every extreme.
TEST(Decimate, KeepsTheExtremesOfEachColumn) {
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
    ChartInput input;
    input.lines.push_back(ChartLine{"big", "big", false, &trace.points, {"carrier 10 MHz"}, {}, {}, {}});
    input.title = "big";
    input.band = OffsetBand{100, 1e4};
    std::string svg = svgChart(layoutChart(input));
    EXPECT_LT(svg.size(), 100'000u);
}

}  // namespace
}  // namespace csv2pnp
