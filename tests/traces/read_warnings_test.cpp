#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "traces/read_warnings.h"

namespace csv2pnp {
namespace {

// The words users see, pinned once; the readers' tests use the constants and functions.
TEST(ReadWarnings, TheirWords) {
    std::vector<Warning> warnings;
    LeftOutLines none, lines, longLine;
    lines.add(7, "x,1,,");
    lines.add(7, "x,1,,");  // a second cell of the same line: still one line
    lines.add(9, "y,2");
    longLine.add(3, std::string(50, 'a'));
    warnOfLeftOut(warnings, "a.csv", none, noOffsetInRow);
    warnOfLeftOut(warnings, "a.csv", lines, noLevelInCell);
    warnOfLeftOut(warnings, "a.csv", longLine, noOffsetInRow);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(describe(warnings[0]),
              "a.csv: line 7: 'x,1,,' holds no number where a level stands: that point is left out (and 1 more line "
              "like it)");
    EXPECT_EQ(describe(warnings[1]), "a.csv: line 3: '" + std::string(40, 'a') +
                                         "...' holds no offset where the offsets stand: the row is not read");
    EXPECT_EQ(columnNotRead(4, "Temperature (C)", unitNotDbcPerHz("C")),
              "column 4 'Temperature (C)' is not read: its unit, C, is not dBc/Hz");
    EXPECT_EQ(levelsInOtherUnit(2, "Level (dBm)", "dBm"),
              "the levels are in dBm (column 2 'Level (dBm)'), not dBc/Hz: pnpplot draws phase noise only; --columns "
              "names the columns to read as dBc/Hz");
    EXPECT_EQ(yUnitRefused("dBm", "ANALYZER"),
              "y-Unit 'dBm' in Mode ANALYZER, a spectrum: pnpplot reads levels in dBc/Hz");
}

}  // namespace
}  // namespace csv2pnp
