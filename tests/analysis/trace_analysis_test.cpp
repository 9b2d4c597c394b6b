#include <cmath>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/trace_analysis.h"
#include "numeric/numeric.h"

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
    plain[0].carrierGiven = multiplied[0].carrierGiven = 10e6;
    AnalysisOptions options;
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
    Trace signalFrequency = traceOf(noise);
    withRecord.carrier = 5e6;
    withRecord.plotFile = plotFile.plotFile = true;
    signalFrequency.carrier = 1e8;
    const struct {
        const Trace* trace;
        std::optional<double> commandLine;
        double hertz;
        CarrierSource source;
    } cases[] = {
        {&withRecord, std::nullopt, 5e6, CarrierSource::carRecord},
        {&withRecord, 1e9, 1e9, CarrierSource::commandLine},
        {&signalFrequency, std::nullopt, 1e8, CarrierSource::inFile},
        {&signalFrequency, 1e7, 1e7, CarrierSource::commandLine},
        {&exported, std::nullopt, 10e6, CarrierSource::exportDefault},
        {&plotFile, std::nullopt, 10e6, CarrierSource::noRecord},
    };
    for (const auto& c : cases) {
        Trace trace = *c.trace;
        trace.carrierGiven = c.commandLine;
        CarrierChoice carrier = chooseCarrier(trace);
        EXPECT_EQ(carrier.hertz, c.hertz);
        EXPECT_EQ(carrier.source, c.source);
    }
    // A plot file without a CAR record holds frequencies: -c makes them offsets.
    plotFile.points = {{10000010, -100}, {10000100, -130}, {9999990, -90}};
    plotFile.carrierGiven = 10e6;
    std::vector<Trace> traces{plotFile};
    Analyses analyses = analyseTraces(traces, AnalysisOptions{}, nullptr);
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
    // The levels as measured kept beside, for the chart.
    ASSERT_TRUE(paired.measured);
    EXPECT_EQ(paired.measured->size(), noise.size());
    EXPECT_EQ((*paired.measured)[3].level, noise[3].level);
    EXPECT_FALSE(analyses.traces[2].measured);
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

// Flat -150 dBc/Hz, 100 points a decade from 10 Hz to 100 kHz, 1 kHz raised by 30 dB: a tone.
// Measured, the spike is integrated as a triangle; omitted, the flat line is; as power, the
// flat line plus the tone P = w (1e-12 - 1e-15), w = 1000 (10^0.01 - 10^-0.01) / 2. The
// deviations, and the fit's Allan deviation of the trace, take the spur alike. The spot
// noise and the smoothed levels are read on the noise, the spur drawn as it stands.
TEST(TraceAnalysis, SpursAsMeasuredOmittedOrTones) {
    std::vector<TracePoint> flat, spiked;
    for (int k = 0; k <= 400; ++k) flat.push_back({std::pow(10.0, 1 + k / 100.0), -150});
    spiked = flat;
    spiked[200].level = -120;
    const double tone = 1000 * (std::pow(10.0, 0.01) - std::pow(10.0, -0.01)) / 2 * (1e-12 - 1e-15);
    const double flatArea = integrateNoise(flat, 0, INFINITY)->phaseArea;
    const double flatFrequencyArea = integrateNoise(flat, 0, INFINITY)->frequencyArea;
    for (SpurTreatment treatment : {SpurTreatment::measured, SpurTreatment::omit, SpurTreatment::power}) {
        std::vector<Trace> traces{traceOf(spiked)};
        AnalysisOptions options;
        options.spurs = treatment;
        options.smoothing = 0.2;
        options.deviations = {true, true, false, false};
        options.fit = true;
        Analyses analyses = analyseTraces(traces, options, nullptr);
        const TraceAnalysis& analysis = analyses.traces[0];
        const BandFigures& band = *analysis.integration;
        EXPECT_EQ(band.spurs, treatment);
        const TimeDeviations expected =
            treatment == SpurTreatment::measured ? timeDeviations(spiked, 10e6, options.deviations)
            : treatment == SpurTreatment::omit   ? timeDeviations(flat, 10e6, options.deviations)
                                                 : timeDeviations(flat, 10e6, options.deviations, {{1000, tone}});
        ASSERT_EQ(analysis.deviations->allan.size(), 3u);
        ASSERT_EQ(analysis.fit->allan.size(), 3u);
        for (std::size_t i = 0; i < 3; ++i) {
            EXPECT_NEAR(analysis.deviations->allan[i].value / expected.allan[i].value, 1, 1e-12);
            EXPECT_NEAR(analysis.deviations->modified[i].value / expected.modified[i].value, 1, 1e-12);
            EXPECT_EQ(analysis.fit->allan[i].trace, analysis.deviations->allan[i].value);
        }
        if (treatment == SpurTreatment::omit) {
            EXPECT_NEAR(band.integral.phaseArea / flatArea, 1, 1e-12);
        }
        if (treatment == SpurTreatment::power) {
            EXPECT_NEAR(band.integral.phaseArea / (flatArea + tone), 1, 1e-12);
            EXPECT_NEAR(band.integral.frequencyArea / (flatFrequencyArea + tone * 1e6), 1, 1e-12);
            EXPECT_EQ(band.tones, 1u);
        }
        if (treatment == SpurTreatment::measured) {
            EXPECT_GT(band.integral.phaseArea, flatArea);
        }
        ASSERT_EQ(analysis.spotNoise.size(), 5u);
        EXPECT_NEAR(analysis.spotNoise[2].level, -150, 1e-9);
        EXPECT_EQ(analysis.spotNoise[2].spurLeftOut, 1000);
        EXPECT_FALSE(analysis.spotNoise[1].spurLeftOut);
        EXPECT_EQ(analysis.smoothed->points[200].level, -120);
        EXPECT_NEAR(analysis.smoothed->points[199].level, -150, 1e-9);
    }
}

// A trace 0.5 dB above a -171 dBc/Hz floor is floor-limited: subtracting the floor keeps its
// measured level, and a -175 dBc/Hz mask fails it, as without the subtraction. A mask wider than
// the trace judges what the trace holds and says so.
TEST(TraceAnalysis, FloorLimitedPointsAndTheMaskThatJudgesThem) {
    std::vector<TracePoint> near, floor;
    for (int k = 0; k <= 20; ++k) {
        double offset = std::pow(10.0, 1 + k / 5.0);
        near.push_back({offset, -170.5});
        floor.push_back({offset, -171});
    }
    std::vector<Trace> traces{traceOf(near), traceOf(floor, true)};
    AnalysisOptions options;
    options.subtractFloor = true;
    LimitMask mask{"m.txt", {{1, -175}, {1e7, -175}}};
    Analyses analyses = analyseTraces(traces, options, &mask);
    const TraceAnalysis& analysis = analyses.traces[0];
    EXPECT_EQ(traces[0].points[3].level, -170.5);
    EXPECT_EQ(analysis.floorLimited.size(), 21u);
    EXPECT_EQ(analysis.floorMargin->floorLimited, 21u);
    EXPECT_FALSE(analysis.measured);  // nothing changed by the subtraction
    const MaskVerdict& verdict = analysis.mask->verdict;
    EXPECT_FALSE(verdict.passes());
    EXPECT_FALSE(verdict.coversMask);
    EXPECT_EQ(verdict.judgedSpan.from, 10);
    EXPECT_EQ(verdict.maskSpan.to, 1e7);
    ASSERT_EQ(analyses.warnings.size(), 1u);
    EXPECT_EQ(describe(analyses.warnings[0]),
              "a.csv: a.csv phase noise: judged from 10 Hz to 100 kHz only, where the mask m.txt reaches from 1 Hz to "
              "10 MHz");
}

// A flat -100 dBc/Hz from 10 kHz to 10 MHz at 100 MHz: 71.141 ps over the whole range, and the
// jitters of its two halves add in quadrature to it. A chosen spot outside the trace is said to
// be outside; --pair lowers every level by 10 log10 2.
TEST(TraceAnalysis, SeveralBandsChosenSpotsAndPairs) {
    std::vector<Trace> traces{traceOf({{1e4, -100}, {1e7, -100}})};
    traces[0].carrierGiven = 100e6;
    AnalysisOptions options;
    options.band = OffsetBand{1e4, 1e7};
    options.moreBands = {{1e4, std::sqrt(1e11)}, {std::sqrt(1e11), 1e7}};
    options.spots = std::vector<double>{1e3, 1e5};
    options.pair = true;
    Analyses analyses = analyseTraces(traces, options, nullptr);
    const TraceAnalysis& analysis = analyses.traces[0];
    // 10 log10 2 lower: A = 1e-10 (1e7 - 1e4) / 2.
    const double whole = std::sqrt(2 * 1e-10 * (1e7 - 1e4) / 2) / (2 * pi * 100e6);
    EXPECT_NEAR(*analysis.integration->figures.rmsJitter / whole, 1, 1e-12);
    ASSERT_EQ(analysis.moreBands.size(), 2u);
    const double low = *analysis.moreBands[0].figures->figures.rmsJitter;
    const double high = *analysis.moreBands[1].figures->figures.rmsJitter;
    EXPECT_NEAR(std::hypot(low, high) / whole, 1, 1e-12);
    EXPECT_TRUE(analysis.pairCorrected);
    ASSERT_EQ(analysis.spotNoise.size(), 2u);
    EXPECT_FALSE(analysis.spotNoise[0].inside);
    EXPECT_TRUE(analysis.spotNoise[1].inside);
    EXPECT_NEAR(analysis.spotNoise[1].level, -100 - 10 * std::log10(2.0), 1e-12);
}

// The instrument's own figures, each beside pnpplot's over the same range clipped to the trace:
// flat -100 dBc/Hz gives A = 1e-10 (1e6 - 1e3) from 1 kHz to 1 MHz, -40.0043 dBc, and
// 1e-10 (1e7 - 1e6) where a range to 100 MHz meets the trace's end, -30.4576 dBc. Levels that
// -n or the floor's subtraction moved, or a weighted figure, are not compared; a floor has none.
TEST(TraceAnalysis, BesideTheInstrumentsOwnFigures) {
    const struct {
        int option;  // 1: -n, 2: --subtract-floor, 3: a weighted figure
        std::string why;
    } cases[] = {{0, ""},
                 {1, "-n or --pair moved the levels"},
                 {2, "--subtract-floor moved the levels"},
                 {3, "the instrument weighted its figure (CCITT)"}};
    for (const auto& c : cases) {
        InstrumentRecord record{"FSWP-26", false, true, {}};
        const std::string weighting = c.option == 3 ? "CCITT" : "None";
        record.integrations.push_back({12, "1", {1e3, 1e6}, weighting, -40.1, {"-40.1", "dBc"}, {}, {}, {}});
        record.integrations.push_back({13, "2", {1e6, 1e8}, weighting, -30.5, {"-30.5", "dBc"}, {}, {}, {}});
        std::vector<Trace> traces{traceOf({{1e3, -100}, {1e6, -100}, {1e7, -100}}),
                                  traceOf({{1e3, -150}, {1e7, -150}}, true)};
        traces[0].instrument = traces[1].instrument = record;
        AnalysisOptions options;
        if (c.option == 1) options.normaliseTo = 1e9;
        options.subtractFloor = c.option == 2;
        Analyses analyses = analyseTraces(traces, options, nullptr);
        const std::vector<InstrumentComparison>& compared = analyses.traces[0].instrument;
        ASSERT_EQ(compared.size(), 2u);
        EXPECT_TRUE(analyses.traces[1].instrument.empty());
        EXPECT_EQ(compared[0].notCompared, c.why);
        if (c.option != 0) {
            EXPECT_TRUE(!compared[0].ours && !compared[0].differenceDb);
            continue;
        }
        EXPECT_NEAR(*compared[0].differenceDb, 10 * std::log10(1e-10 * (1e6 - 1e3)) + 40.1, 1e-12);
        EXPECT_NEAR(compared[1].ours->figures.integratedPhaseNoise, 10 * std::log10(1e-10 * 9e6), 1e-12);
        EXPECT_TRUE(compared[1].ours->clipped);
        EXPECT_EQ(compared[1].ours->integral.to, 1e7);
    }
}

}  // namespace
}  // namespace csv2pnp
