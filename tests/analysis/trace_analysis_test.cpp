#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/trace_analysis.h"

namespace csv2pnp {
namespace {

Trace traceOf(std::vector<TracePoint> points, bool floor = false, std::string group = "export a.csv") {
    Trace trace;
    trace.caption = floor ? "a.csv floor" : "a.csv phase noise";
    trace.source = "a.csv";
    trace.group = std::move(group);
    trace.floor = floor;
    trace.points = std::move(points);
    return trace;
}

const std::vector<TracePoint> noise{{10, -100}, {100, -130}, {1e3, -150}, {1e4, -160}, {1e5, -162}};

// -n 10 times the carrier adds 20 dB to every level, scales RMS phase and residual FM ten
// times and leaves the jitter as it was.
TEST(TraceAnalysis, AnotherCarrier) {
    std::vector<Trace> plain{traceOf(noise)}, multiplied{traceOf(noise)};
    AnalysisOptions options;
    options.carrier = 10e6;
    Analyses a = analyseTraces(plain, options, nullptr);
    options.normaliseTo = 100e6;
    Analyses b = analyseTraces(multiplied, options, nullptr);
    for (std::size_t i = 0; i < noise.size(); ++i)
        EXPECT_NEAR(multiplied[0].points[i].level, noise[i].level + 20, 1e-12);
    const NoiseFigures& x = a.traces[0].integration->figures;
    const NoiseFigures& y = b.traces[0].integration->figures;
    EXPECT_NEAR(*y.rmsJitter / *x.rmsJitter, 1, 1e-12);
    EXPECT_NEAR(y.rmsPhase / x.rmsPhase, 10, 1e-11);
    EXPECT_NEAR(y.residualFm / x.residualFm, 10, 1e-11);
    EXPECT_NEAR(y.integratedPhaseNoise - x.integratedPhaseNoise, 20, 1e-11);
    EXPECT_EQ(b.traces[0].carrier.hertz, 100e6);
    EXPECT_EQ(b.traces[0].carrier.normalisedFrom, 10e6);
}

TEST(TraceAnalysis, CarrierOfEachKindOfInput) {
    Trace withRecord = traceOf(noise), plotFile = traceOf(noise), exported = traceOf(noise);
    withRecord.carrier = 5e6;
    plotFile.plotFile = true;
    const struct {
        const Trace* trace;
        std::optional<double> commandLine;
        double hertz;
        CarrierSource source;
    } cases[] = {
        {&withRecord, std::nullopt, 5e6, CarrierSource::carRecord},
        {&withRecord, 1e9, 1e9, CarrierSource::commandLine},
        {&exported, std::nullopt, 10e6, CarrierSource::exportDefault},
        {&plotFile, std::nullopt, 10e6, CarrierSource::noRecord},
    };
    for (const auto& c : cases) {
        CarrierChoice carrier = chooseCarrier(*c.trace, c.commandLine);
        EXPECT_EQ(carrier.hertz, c.hertz);
        EXPECT_EQ(carrier.source, c.source);
    }
    // A plot file without a CAR record holds frequencies: -c makes them offsets.
    plotFile.points = {{10000010, -100}, {10000100, -130}, {9999990, -90}};
    std::vector<Trace> traces{plotFile};
    AnalysisOptions options;
    options.carrier = 10e6;
    Analyses analyses = analyseTraces(traces, options, nullptr);
    EXPECT_EQ(traces[0].points.size(), 2u);
    EXPECT_EQ(traces[0].points[0].offset, 10);
    EXPECT_EQ(traces[0].leftOut, 1u);
    ASSERT_EQ(analyses.warnings.size(), 1u);
    EXPECT_EQ(analyses.warnings[0].text,
              "names no carrier (no CAR record): its offsets are taken from the carrier given with -c");
}

TEST(TraceAnalysis, FloorMarginAndItsSubtractionWithTheFigures) {
    std::vector<TracePoint> floor;
    for (const TracePoint& p : noise) floor.push_back({p.offset, -165});
    std::vector<Trace> traces{traceOf(noise), traceOf(floor, true), traceOf(noise, false, "export b.csv")};
    AnalysisOptions options;
    options.band = OffsetBand{100, 1e4};
    options.subtractFloor = true;
    Analyses analyses = analyseTraces(traces, options, nullptr);
    ASSERT_EQ(analyses.traces.size(), 3u);
    const TraceAnalysis& paired = analyses.traces[0];
    ASSERT_TRUE(paired.floorMargin);
    EXPECT_EQ(*paired.floorMargin->smallest, 3);
    EXPECT_EQ(paired.floorMargin->belowAt, (std::vector<double>{1e4, 1e5}));
    EXPECT_EQ(paired.integration->pointsBelowMargin, 1u);  // 10 kHz is in the band, 100 kHz not
    EXPECT_TRUE(paired.integration->floorSubtracted);
    EXPECT_NEAR(traces[0].points[3].level, 10 * std::log10(1e-16 - std::pow(10.0, -16.5)), 1e-12);
    EXPECT_FALSE(analyses.traces[1].floorMargin);  // a floor has none
    EXPECT_FALSE(analyses.traces[2].floorMargin);  // another input's trace has no floor
    EXPECT_FALSE(analyses.traces[2].integration->floorSubtracted);
}

TEST(TraceAnalysis, WarnsOfACarrierBelowTheOffsets) {
    Trace low = traceOf(noise);
    low.carrier = 5;  // as csv2pnp -i 5M writes it: atol reads "5M" as 5
    std::vector<Trace> traces{low};
    Analyses analyses = analyseTraces(traces, AnalysisOptions{}, nullptr);
    ASSERT_EQ(analyses.warnings.size(), 1u);
    EXPECT_EQ(analyses.warnings[0].text,
              "a.csv phase noise: the carrier 5 Hz is below the highest offset 100 kHz, so the jitter means nothing; "
              "give the carrier with -c");
}

}  // namespace
}  // namespace csv2pnp
