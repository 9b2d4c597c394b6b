#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "traces/read_warnings.h"

namespace csv2pnp {
namespace {

// The words users see, pinned once; the readers' tests use the functions.
TEST(ReadWarnings, TheirWords) {
    std::vector<Warning> warnings;
    LeftOutLines lines;
    warnOfLeftOut(warnings, "a.csv", lines, noOffsetInRow);
    EXPECT_TRUE(warnings.empty());
    lines.add(7, "x,1");
    warnOfLeftOut(warnings, "a.csv", lines, noOffsetInRow);
    lines.add(9, "y,2");
    lines.add(12, "z,3");
    LeftOutLines longLine;
    longLine.add(3, std::string(50, 'a'));
    warnOfLeftOut(warnings, "a.csv", lines, noLevelInCell);
    warnOfLeftOut(warnings, "a.csv", longLine, cellsBeyondRead);
    std::vector<std::string> texts;
    for (const Warning& warning : warnings) texts.push_back(describe(warning));
    EXPECT_EQ(texts, (std::vector<std::string>{
                         "a.csv: line 7: 'x,1' holds no offset where the offsets stand: the row is not read",
                         "a.csv: line 7: 'x,1' holds no number where a level stands: that point is left out (and 2 "
                         "more lines like it)",
                         "a.csv: line 3: '" + std::string(40, 'a') +
                             "...' holds cells beyond the columns read: they are not read"}));
    EXPECT_EQ(columnNotRead(4, "Temperature (C)", unitNotDbcPerHz("C")),
              "column 4 'Temperature (C)' is not read: its unit, C, is not dBc/Hz");
    EXPECT_EQ(levelsInOtherUnit(2, "Level (dBm)", "dBm"),
              "the levels are in dBm (column 2 'Level (dBm)'), not dBc/Hz: pnpplot draws phase noise only; --columns "
              "names the columns to read as dBc/Hz");
    EXPECT_EQ(amplitudeUnitNamed("DBM"),
              "the comment names the amplitude unit DBM: the levels are drawn as dBc/Hz; check that they are phase "
              "noise");
    EXPECT_EQ(yUnitRefused("dBm", "ANALYZER"),
              "y-Unit 'dBm' in Mode ANALYZER, a spectrum: pnpplot reads levels in dBc/Hz");
    EXPECT_EQ(inWindowNotRead("3 'Spot Noise'"),
              "belongs to window 3 'Spot Noise', which pnpplot does not read: it is not read");
    EXPECT_EQ(integratedTraceMissing("2"),
              "the instrument's integrated figures of trace 2, which holds no phase noise here, are not shown");
}

}  // namespace
}  // namespace csv2pnp
