#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fixed_analysis.h"
#include "report/summary_table.h"

namespace csv2pnp {
namespace {

// The header as a spreadsheet's users see it, and the rows of the full analysis: a caption
// with a comma and quotes quoted, a row a band (a band past the trace has its range and no
// figures), the floor's spurs and mask left empty, CR LF after each row.
TEST(SummaryTable, HeaderAndRows) {
    EXPECT_STREQ(summaryTableHeader,
                 "file,trace,carrier_hz,band_from_hz,band_to_hz,phase_noise_dbc,rms_phase_rad,rms_jitter_s,"
                 "residual_fm_hz,spurs,smallest_margin_db,mask,spurs_integrated");
    test::FixedAnalysis fixed;
    fixed.traces[0].caption = "a, \"noise\"";
    fixed.analyses.traces[0].moreBands = {{{2e6, 3e6}, std::nullopt}};
    std::vector<std::string> rows;
    std::istringstream table(summaryTable(fixed.analyses.traces, {"dir/a.pnp"}));
    for (std::string row; std::getline(table, row);) rows.push_back(row);
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].rfind("dir/a.pnp,\"a, \"\"noise\"\"\",1e+08,10,1e+05,", 0), 0u) << rows[1];
    EXPECT_EQ(rows[1].substr(rows[1].size() - 18), ",1,-58,fail,power\r") << rows[1];
    EXPECT_EQ(rows[2], "dir/a.pnp,\"a, \"\"noise\"\"\",1e+08,2e+06,3e+06,,,,,1,-58,fail,\r");
    EXPECT_EQ(rows[3].substr(rows[3].size() - 5), ",,,,\r") << rows[3];
}

}  // namespace
}  // namespace csv2pnp
