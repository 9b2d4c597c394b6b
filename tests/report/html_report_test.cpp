#include <string>

#include <gtest/gtest.h>

#include "chart/svg_chart.h"
#include "fixed_analysis.h"
#include "report/html_report.h"
#include "report/report_script.h"

namespace csv2pnp {
namespace {

std::string reportOf(Analyses& analyses, bool dark) {
    ChartInput input;
    for (const TraceAnalysis& analysis : analyses.traces) {
        input.lines.push_back(
            {analysis.trace->caption, "g", analysis.trace->floor, &drawnPoints(analysis), {}, {}, {}, {}});
    }
    input.dark = dark;
    input.band = OffsetBand{10, 1e5};
    ChartLayout layout = layoutChart(input);
    return htmlReport(layout, svgChart(layout), "", analyses.traces, OffsetBand{10, 1e5}, "9.9");
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// One page: the chart inline, a table per trace with a failing verdict marked, the page's
// data where no text of the inputs can end its script early, and the script itself.
TEST(HtmlReport, OnePageWithTheChartTablesDataAndScript) {
    test::FixedAnalysis fixed;
    fixed.traces[0].caption = "a </script><b>";
    std::string html = reportOf(fixed.analyses, false);
    EXPECT_EQ(html.rfind("<!DOCTYPE html>\n", 0), 0u);
    EXPECT_TRUE(has(html, "<meta name=\"generator\" content=\"pnpplot 9.9\">"));
    EXPECT_TRUE(has(html,
                    "<div id=\"chart\" tabindex=\"0\" aria-label=\"The chart: the arrow keys move the active "
                    "marker\">\n<svg "));
    EXPECT_TRUE(has(html, "<h3>a &lt;/script&gt;&lt;b&gt;</h3>"));
    EXPECT_TRUE(has(html, "<table id=\"figures\">"));
    EXPECT_TRUE(has(html, "<table class=\"spurs\">"));
    EXPECT_TRUE(has(html, "<details id=\"details\">"));
    EXPECT_TRUE(has(html, "\"caption\":\"a <\\/script><b>\""));
    EXPECT_TRUE(has(html, "<script>\n" + std::string(reportScript) + "</script>\n</body>\n</html>\n"));
    EXPECT_FALSE(has(html, "background:#15181c"));
    EXPECT_TRUE(has(reportOf(fixed.analyses, true), "background:#15181c"));
}

// The page's data holds each spur, for the markers to jump to, and the band the chart shaded.
TEST(HtmlReport, TheDataOfTheMarkers) {
    test::FixedAnalysis fixed;
    std::string html = reportOf(fixed.analyses, false);
    EXPECT_TRUE(has(html, "\"spurs\":[[1000,-85]],"));
    EXPECT_TRUE(has(html, "\"spurs\":[],\"limits\":[],\"fails\":[],\"shades\":[]"));  // nor points as measured
    EXPECT_TRUE(has(html, "\"shaded\":[[10,1e+05]],\"mask\":null,\"zero\":null"));
}

}  // namespace
}  // namespace csv2pnp
