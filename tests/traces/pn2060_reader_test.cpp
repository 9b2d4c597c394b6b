#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "traces/pn2060_reader.h"
#include "traces/read_warnings.h"
#include "traces/trace_reader.h"

namespace csv2pnp {
namespace {

TEST(Pn2060Reader, ExportRowsMakeTwoTraces) {
    const std::string csv =
        "Offset,Level,Floor\n"  // no number in cell 0: left out
        "100,-120,-130\n"
        "10,-100,-110\n"  // out of order: points go by offset
        "1000,-140\n"     // no floor cell
        "2000,x,-150\n"   // no number in the level cell
        "0,-90,-95\n"     // offset 0 cannot stand on a log axis
        "-5,-90,-95\n"
        "3000,nan,inf\n"
        "\n";
    Result<std::vector<Trace>> read = readTraces(csv, "data/run1.csv");
    ASSERT_TRUE(read);
    ASSERT_EQ(read.value->size(), 2u);
    const Trace& noise = read.value->at(0);
    const Trace& floor = read.value->at(1);
    EXPECT_EQ(noise.caption, "run1.csv phase noise");
    EXPECT_EQ(floor.caption, "run1.csv floor");
    EXPECT_FALSE(noise.floor);
    EXPECT_TRUE(floor.floor);
    EXPECT_EQ(noise.group, floor.group);
    EXPECT_FALSE(noise.carrier);
    auto offsets = [](const Trace& t) {
        std::vector<double> values;
        for (const TracePoint& p : t.points) values.push_back(p.offset);
        return values;
    };
    EXPECT_EQ(offsets(noise), (std::vector<double>{10, 100, 1000}));
    EXPECT_EQ(offsets(floor), (std::vector<double>{10, 100, 2000}));
    EXPECT_EQ(noise.points[0].level, -100);
    EXPECT_EQ(noise.leftOut, 3u);
    EXPECT_EQ(floor.leftOut, 3u);
    // What was not read is warned of at its line; a fourth cell too.
    std::vector<std::string> warnings;
    for (const Warning& warning : read.warnings) warnings.push_back(describe(warning));
    EXPECT_EQ(warnings,
              (std::vector<std::string>{"data/run1.csv: line 1: 'Offset,Level,Floor' " + std::string(noOffsetInRow),
                                        "data/run1.csv: line 5: '2000,x,-150' " + std::string(noLevelInCell)}));
    Result<std::vector<Trace>> wide = readTraces("10,-100,-110,5\n100,-120,-130,5\n", "w.csv");
    ASSERT_EQ(wide.warnings.size(), 1u);
    EXPECT_EQ(describe(wide.warnings[0]),
              "w.csv: line 1: '10,-100,-110,5' " + std::string(cellsBeyondRead) + " (and 1 more line like it)");
    EXPECT_EQ(wide.value->front().layoutTitle, "numbers separated by commas");
    // Comment lines are passed over; one naming another amplitude unit is warned of.
    Result<std::vector<Trace>> commented = readTraces("# PLL, amplitude units: dBm\n10,-100,-110\n", "c.csv");
    ASSERT_EQ(commented.warnings.size(), 1u);
    EXPECT_EQ(describe(commented.warnings[0]), "c.csv: line 1: " + amplitudeUnitNamed("dBm"));

    EXPECT_EQ(readTraces("Offset,Level\n", "h.csv").problem->text, "holds no trace");
    EXPECT_EQ(readTraces("0,-1,-2\n", "z.csv").problem->text, "holds no point that can be drawn");
}

}  // namespace
}  // namespace csv2pnp
