#include <cmath>
#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "fixed_analysis.h"
#include "report/summary_text.h"

namespace csv2pnp {
namespace {

TEST(SummaryText, EveryFieldOfAFullAnalysis) {
    test::FixedAnalysis fixed;
    std::ostringstream text;
    for (const TraceAnalysis& analysis : fixed.analyses.traces) writeSummaryText(text, analysis);
    EXPECT_EQ(
        text.str(),
        "a phase noise\n"
        "  source        a.pnp\n"
        "  file time     12/9/2026 4:26:47 UTC (TIM record)\n"
        "  carrier       100 MHz (normalised from 10 MHz, default for an export)\n"
        "  points        61, offsets 1 Hz to 1 MHz\n"
        "  smoothing     0.2 decades, in the spot noise and the chart only\n"
        "  spot noise    10 Hz     -89.92 dBc/Hz\n"
        "                100 Hz    -99.92 dBc/Hz\n"
        "                1 kHz     -109.92 dBc/Hz, spur at 1 kHz left out\n"
        "                10 kHz    -119.92 dBc/Hz\n"
        "                100 kHz   -129.92 dBc/Hz\n"
        "  integrated    10 Hz to 100 kHz, its spur as a tone\n"
        "  near floor    5 points of the band less than 10 dB above the floor\n"
        "  phase noise   -60.839 dBc\n"
        "  RMS phase     1.2840 mrad, 0.073570 deg\n"
        "  RMS jitter    2.0436 ps\n"
        "  residual FM   10.0730 Hz\n"
        "  spurs         1, together 1.9261 ps RMS jitter\n"
        "                1 kHz     -85.00 dBc/Hz, -61.353 dBc, 1.9261 ps\n"
        "  floor margin  smallest -58.00 dB at 1 MHz\n"
        "                below 10 dB: 39.811 kHz to 1 MHz (15 points)\n"
        "                floor-limited: 15 points less than 3 dB above the floor\n"
        "  mask          FAIL from 1 Hz to 1 MHz of the mask's 1 Hz to 1 MHz, 16 of 61 points above the limit, "
        "the worst 15.00 dB above at 1 kHz (m.txt)\n"
        "  ADEV          tau 10 us   8.258e-08\n"
        "                tau 100 us  1.141e-08\n"
        "                tau 1 ms    1.175e-09\n"
        "                tau 10 ms   1.316e-10\n"
        "                tau 100 ms  1.442e-11\n"
        "  MDEV          tau 10 us   4.134e-08\n"
        "                tau 100 us  6.578e-09\n"
        "                tau 1 ms    4.134e-10\n"
        "                tau 10 ms   4.134e-11\n"
        "                tau 100 ms  4.123e-12\n"
        "  TDEV          tau 10 us   2.387e-13 s\n"
        "                tau 100 us  3.798e-13 s\n"
        "                tau 1 ms    2.387e-13 s\n"
        "                tau 10 ms   2.387e-13 s\n"
        "                tau 100 ms  2.381e-13 s\n"
        "  fit           1 Hz to 31.623 kHz, 45 points; spurs and points less than 10 dB above the floor left out\n"
        "                term        L     at 1 Hz               S_y\n"
        "                flicker PM  f^-1  -80.00 ± 0.00 dBc/Hz  h1 = 2.000e-24\n"
        "  corners       none: one term\n"
        "  dominant      1 Hz to 31.623 kHz flicker PM\n"
        "  fit error     largest 0.000 dB, RMS 0.000 dB\n"
        "  fit ADEV      f_h = 1 MHz (the last offset) for the phase terms\n"
        "                tau     flicker PM  the terms  the trace\n"
        "                10 us   8.257e-08   8.257e-08  8.258e-08\n"
        "                100 us  1.016e-08   1.016e-08  1.141e-08\n"
        "                1 ms    1.175e-09   1.175e-09  1.175e-09\n"
        "                10 ms   1.316e-10   1.316e-10  1.316e-10\n"
        "                100 ms  1.443e-11   1.443e-11  1.442e-11\n"
        "a floor\n"
        "  source        a.pnp\n"
        "  carrier       100 MHz (normalised from 10 MHz, default for an export)\n"
        "  points        61, offsets 1 Hz to 1 MHz\n"
        "  smoothing     0.2 decades, in the spot noise and the chart only\n"
        "  spot noise    10 Hz     -140.00 dBc/Hz\n"
        "                100 Hz    -140.00 dBc/Hz\n"
        "                1 kHz     -140.00 dBc/Hz\n"
        "                10 kHz    -140.00 dBc/Hz\n"
        "                100 kHz   -82.00 dBc/Hz\n"
        "  integrated    10 Hz to 100 kHz\n"
        "  phase noise   -34.156 dBc\n"
        "  RMS phase     27.714 mrad, 1.5879 deg\n"
        "  RMS jitter    44.108 ps\n"
        "  residual FM   1988.47 Hz\n");
}

// The instrument's own figures under the trace's: its range and model, pnpplot's figure over
// the same range and how far apart they are, its other figures as the file gives them, and what
// the instrument did to the trace.
TEST(SummaryText, TheInstrumentsOwnFigures) {
    Trace trace;
    trace.caption = "f.DAT trace 1 phase noise";
    trace.source = "f.DAT";
    trace.points = {{1e3, -100}, {1e6, -100}, {1e7, -100}};
    trace.instrument = InstrumentRecord{"FSWP-26", true, true, {}};
    trace.instrument->integrations.push_back(
        {12, "1", {1e3, 1e6}, "None", -40.1, {"-40.1", "dBc"}, {"0.81", "\xc2\xb0"}, {"1.2", "kHz"}, {"2.9", "ps"}});
    trace.instrument->integrations.push_back({13, "2", {1e6, 1e8}, "None", -30.5, {"-30.5", "dBc"}, {}, {}, {}});
    std::vector<Trace> traces{trace};
    Analyses analyses = analyseTraces(traces, AnalysisOptions{}, nullptr);
    std::ostringstream text;
    writeSummaryText(text, analyses.traces[0]);
    EXPECT_NE(text.str().find("  instrument    -40.100 dBc over 1 kHz to 1 MHz (FSWP-26), pnpplot -40.004 dBc, "
                              "0.096 dB from the instrument's\n"
                              "                its PM 0.81 \xc2\xb0, FM 1.2 kHz, jitter 2.9 ps\n"
                              "                -30.500 dBc over 1 MHz to 100 MHz (FSWP-26), pnpplot -30.458 dBc over "
                              "1 MHz to 10 MHz, 0.042 dB from the instrument's\n"
                              "                the instrument smoothed the trace (Smoothing ON): its figure rests on "
                              "other data than the export\n"
                              "                the instrument removed its spurs (Spurious Removal ON): its figure "
                              "rests on other data than the export\n"
                              "  spurs         none"),
              std::string::npos)
        << text.str();
}

// Figures beyond a double, and a carrier of 0, are said in words.
TEST(SummaryText, FiguresThatCannotBeGiven) {
    const std::string overflows = "overflows: the levels are beyond what a double holds";
    const std::pair<std::string, std::string> cases[] = {
        {phaseNoiseText(INFINITY), overflows}, {rmsPhaseText(INFINITY, INFINITY), overflows},
        {jitterText(INFINITY), overflows},     {jitterText(std::nullopt), "none: the carrier is 0 Hz"},
        {residualFmText(INFINITY), overflows}, {jitterText(9.71e-10), "971.00 ps"},
    };
    for (const auto& [got, expected] : cases) EXPECT_EQ(got, expected);
}

}  // namespace
}  // namespace csv2pnp
