#include <gtest/gtest.h>

#include "figures/noise_figures.h"
#include "fixed_analysis.h"
#include "pnpplot/chart_input.h"
#include "report/report_data.h"

namespace csv2pnp {
namespace {

// A trace the chart drew whole carries its points; every trace its spurs and, with the spurs
// at their power (the default), its tones. A thinned trace carries at each vertex the area up to it instead.
TEST(ReportData, WholeOrThinnedTraces) {
    test::FixedAnalysis fixed;
    const std::vector<TraceAnalysis>& analyses = fixed.analyses.traces;
    ChartLayout layout = layoutChart(chartInputOf(analyses, PlotOptions{}, nullptr));
    std::vector<ReportTrace> traces = reportTraces(layout, analyses);
    ASSERT_EQ(traces.size(), 2u);
    EXPECT_FALSE(traces[0].thinned);
    EXPECT_EQ(traces[0].figure.size(), figurePoints(analyses[0]).size());
    EXPECT_EQ(traces[0].spurs.size(), 1u);
    EXPECT_EQ(traces[0].tones.size(), 1u);
    // The chart drawing two vertices of the noise: each with the area from the first offset.
    layout.series[1].vertices = {figurePoints(analyses[0]).front(), figurePoints(analyses[0]).back()};
    traces = reportTraces(layout, analyses);
    ASSERT_TRUE(traces[0].thinned);
    ASSERT_EQ(traces[0].running.size(), 2u);
    EXPECT_EQ(traces[0].running[0].first, 0);
    const std::vector<TracePoint>& points = figurePoints(analyses[0]);
    EXPECT_DOUBLE_EQ(traces[0].running[1].first,
                     integrateNoise(points, points.front().offset, points.back().offset)->phaseArea);
}

// A trace the chart also drew as measured carries the points drawn so; the others none.
TEST(ReportData, TheTraceAsMeasuredWhereDrawn) {
    test::FixedAnalysis fixed;
    const std::vector<TraceAnalysis>& analyses = fixed.analyses.traces;
    ChartInput input = chartInputOf(analyses, PlotOptions{}, nullptr);
    input.lines[0].measured = {{10, -100.4}, {1e3, -130.2}};
    const ChartLayout layout = layoutChart(input);
    const std::vector<ReportTrace> traces = reportTraces(layout, analyses);
    ASSERT_EQ(traces.size(), 2u);
    ASSERT_EQ(traces[0].measured.size(), 2u);
    EXPECT_EQ(traces[0].measured[1].level, -130.2);
    EXPECT_TRUE(traces[1].measured.empty());
}

}  // namespace
}  // namespace csv2pnp
