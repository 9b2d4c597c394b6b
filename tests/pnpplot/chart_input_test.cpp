#include <cmath>

#include <gtest/gtest.h>

#include "fixed_analysis.h"
#include "pnpplot/chart_input.h"

namespace csv2pnp {
namespace {

// What the chart is given of the full analysis: each trace's notes, marks and fitted lines;
// and the stability chart's series, each deviation asked for of each phase-noise trace.
TEST(ChartInput, ChartAndStabilityChartOfTheFullAnalysis) {
    test::FixedAnalysis fixed;
    const std::vector<TraceAnalysis>& analyses = fixed.analyses.traces;
    PlotOptions options;
    const ChartInput chart = chartInputOf(analyses, options, &fixed.mask);
    ASSERT_EQ(chart.lines.size(), 2u);
    EXPECT_EQ(chart.title, "");                                            // the traces carry no measurement name
    EXPECT_EQ(chart.lines[0].notes.front(), "carrier 100 MHz (assumed)");  // normalised from a default
    EXPECT_EQ(chart.lines[0].spurPeaks.size(), 1u);
    ASSERT_TRUE(chart.lines[0].fit);
    ASSERT_EQ(chart.lines[0].fit->lines.size(), 1u);  // flicker PM alone: no corner
    const auto& [from, to] = chart.lines[0].fit->lines[0];
    EXPECT_NEAR(from.level - to.level, 10 * std::log10(to.offset / from.offset), 1e-9);  // -10 dB a decade
    EXPECT_FALSE(chart.lines[1].fit);
    EXPECT_EQ(chart.mask.size(), fixed.mask.points.size());

    EXPECT_FALSE(stabilityInputOf(analyses, options));  // no deviation asked
    options.analysis.deviations = {true, true, true, false};
    const std::optional<StabilityInput> stability = stabilityInputOf(analyses, options);
    ASSERT_TRUE(stability);
    ASSERT_EQ(stability->series.size(), 3u);  // the floor has none
    EXPECT_EQ(stability->series[2].caption, "a phase noise TDEV");
    EXPECT_EQ(stability->series[2].marker, DeviationMarker::triangle);
    EXPECT_EQ(stability->series[0].points.size(), analyses[0].deviations->allan.size());
}

// Set against the first input, the main chart draws the second's difference in the first hue;
// the stability chart gives the second input that hue too, and the first the next one.
TEST(ChartInput, StabilityHuesAsTheMainChartsWithRelativeTo) {
    std::vector<Trace> traces(2);
    for (std::size_t k = 0; k < 2; ++k) {
        traces[k].caption = traces[k].group = k ? "b" : "a";
        traces[k].input = k;
        traces[k].points = {{1, -80.0 - 10 * static_cast<double>(k)}, {1e4, -150}, {1e6, -160}};
    }
    PlotOptions options;
    options.analysis.relativeTo = 0;
    options.analysis.deviations.allan = true;
    const Analyses analyses = analyseTraces(traces, options.analysis, nullptr);
    const ChartInput chart = chartInputOf(analyses.traces, options, nullptr);
    ASSERT_EQ(chart.lines.size(), 1u);
    EXPECT_EQ(chart.lines[0].group, "b");
    const std::optional<StabilityInput> stability = stabilityInputOf(analyses.traces, options);
    ASSERT_TRUE(stability);
    ASSERT_EQ(stability->series.size(), 2u);
    EXPECT_EQ(stability->series[0].caption, "a ADEV");
    EXPECT_EQ(stability->series[0].group, 1u);
    EXPECT_EQ(stability->series[1].group, 0u);
}

}  // namespace
}  // namespace csv2pnp
