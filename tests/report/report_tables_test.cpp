#include <string>

#include <gtest/gtest.h>

#include "fixed_analysis.h"
#include "report/report_tables.h"

namespace csv2pnp {
namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// The figures table: a unit every number of a column shares stands in its heading, the numbers
// alone in right-aligned cells; a failing verdict in the failing colour. A column no trace has a
// value for is left out. The verdicts' table says how each trace was integrated and the
// mask's verdict in the summary's words.
TEST(ReportTables, FiguresTable) {
    test::FixedAnalysis fixed;
    std::vector<TraceAnalysis>& analyses = fixed.analyses.traces;
    std::string html = figuresTableHtml(analyses);
    EXPECT_TRUE(has(html,
                    "<th rowspan=\"2\">carrier (MHz)</th><th colspan=\"5\" class=\"band\">10 Hz to 100 kHz</th>"
                    "<th rowspan=\"2\">spurs</th><th rowspan=\"2\">smallest floor margin (dB)</th>"
                    "<th rowspan=\"2\">mask</th></tr>\n<tr><th>phase noise (dBc)</th><th>RMS phase (mrad)</th>"
                    "<th>(deg)</th><th>RMS jitter (ps)</th><th>residual FM (Hz)</th></tr>"));
    EXPECT_TRUE(has(html,
                    "<tr data-trace=\"0\"><th>a phase noise</th><td class=\"num\">100 (assumed), normalised from 10 "
                    "MHz</td><td class=\"num\">-60.839</td><td class=\"num\">1.2840</td><td class=\"num\">0.073570</td>"
                    "<td class=\"num\">2.0436</td><td class=\"num\">10.0730</td><td class=\"num\">1</td>"
                    "<td class=\"num\">-58.00 at 1 MHz</td><td class=\"fail\">FAIL, 16 of 61 points above</td></tr>"));
    EXPECT_TRUE(has(verdictTableHtml(analyses),
                    "<tr><th>a phase noise</th><td>10 Hz to 100 kHz, its spur as a tone</td><td class=\"fail\">FAIL "
                    "from 1 Hz to 1 MHz"));
    // Jitters of two prefixes keep theirs; a band after the first has columns of its own, and a
    // trace it misses says so across them.
    analyses[1].integration->figures.rmsJitter = 2e-15;
    analyses[0].moreBands = {{{1e7, 1e8}, std::nullopt}};
    analyses[1].moreBands = {{{1e7, 1e8}, std::nullopt}};
    analyses[0].mask.reset();
    analyses[0].floorMargin.reset();
    html = figuresTableHtml(analyses);
    EXPECT_TRUE(has(html, "<th>RMS jitter</th>"));
    EXPECT_TRUE(has(html, "<td class=\"num\">2.0436 ps</td>"));
    EXPECT_TRUE(has(html, "<th colspan=\"5\" class=\"band\">10 MHz to 100 MHz</th><th rowspan=\"2\">spurs</th></tr>"));
    EXPECT_TRUE(has(html, "<td colspan=\"5\">nothing: no overlap</td><td class=\"num\">1</td></tr>"));
    EXPECT_FALSE(has(html, "mask"));
    EXPECT_FALSE(has(verdictTableHtml(analyses), "mask"));
}

// A spur table a phase-noise trace, each row with its trace and offset for the page's marker;
// the details hold the spot noise and the deviations as tables, the summary's own tables as
// tables, and every other field as the summary says it.
TEST(ReportTables, SpurTablesAndDetails) {
    test::FixedAnalysis fixed;
    const std::vector<TraceAnalysis>& analyses = fixed.analyses.traces;
    std::string spurs = spurTablesHtml(analyses);
    EXPECT_TRUE(has(spurs,
                    "<h3>a phase noise: 1, together 1.9261 ps RMS jitter</h3>\n<table class=\"spurs\"><thead><tr>"
                    "<th>offset (kHz)</th><th>level (dBc/Hz)</th><th>power (dBc)</th><th>jitter (ps)</th></tr>"));
    EXPECT_TRUE(has(spurs,
                    "<tr data-trace=\"0\" data-offset=\"1000\" tabindex=\"0\"><td class=\"num\">1</td><td "
                    "class=\"num\">-85.00</td><td class=\"num\">-61.353</td><td class=\"num\">1.9261</td></tr>"));
    EXPECT_FALSE(has(spurs, "a floor"));
    std::string details = detailTablesHtml(analyses);
    EXPECT_EQ(details.rfind("<details id=\"details\"><summary>", 0), 0u);
    EXPECT_TRUE(has(details,
                    "<tr><th>spot noise</th><td><table class=\"spot\"><thead><tr><th>offset</th><th>level "
                    "(dBc/Hz)</th><th></th></tr>"));
    EXPECT_TRUE(
        has(details, "<tr><td class=\"num\">1 kHz</td><td class=\"num\">-109.92</td><td>spur at 1 kHz left out"));
    EXPECT_TRUE(has(details,
                    "<th>tau</th><th>ADEV</th><th>MDEV</th><th>TDEV (s)</th></tr></thead><tbody>\n<tr><td "
                    "class=\"num\">10 us</td><td class=\"num\">8.258e-08</td><td class=\"num\">4.134e-08</td><td "
                    "class=\"num\">2.387e-13</td></tr>"));
    EXPECT_TRUE(has(details, "<thead><tr><th>term</th><th>L</th><th>at 1 Hz</th><th>S_y</th></tr></thead>"));
    EXPECT_TRUE(has(details,
                    "<tr><th>floor margin</th><td><div>smallest -58.00 dB at 1 MHz</div><div>below 10 dB: 39.811 "
                    "kHz to 1 MHz (15 points)</div>"));
    EXPECT_TRUE(has(details, "<tr><th>mask</th><td><div class=\"fail\">FAIL from"));
    EXPECT_FALSE(has(details, "1, together"));  // the spurs are in their tables
}

}  // namespace
}  // namespace csv2pnp
