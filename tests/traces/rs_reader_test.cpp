#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layout_samples.h"
#include "traces/rs_reader.h"

namespace csv2pnp {
namespace {

TEST(RohdeSchwarzReader, EveryTraceBlockWithItsValues) {
    ASSERT_TRUE(isRohdeSchwarzExport(test::rohdeSchwarzSample));
    Result<std::vector<Trace>> read = readRohdeSchwarzExport(test::rohdeSchwarzSample, "dir/fswp.DAT");
    ASSERT_TRUE(read) << read.problem->text;
    const std::vector<Trace>& traces = *read.value;
    ASSERT_EQ(traces.size(), 2u);
    EXPECT_EQ(traces[0].caption, "fswp.DAT trace 1 phase noise");
    EXPECT_EQ(traces[1].caption, "fswp.DAT trace 1 AM noise");
    EXPECT_FALSE(traces[0].amplitude);
    EXPECT_TRUE(traces[1].amplitude);
    EXPECT_EQ(traces[0].carrier, 99999999.977);
    ASSERT_EQ(traces[0].points.size(), 4u);
    EXPECT_EQ(traces[0].points[0].offset, 1);
    EXPECT_EQ(traces[0].points[0].level, -42.863144);
    EXPECT_EQ(traces[0].points[3].level, -124);
    EXPECT_EQ(traces[1].points.size(), 3u);
    EXPECT_FALSE(isRohdeSchwarzExport("10;-100;\n"));
}

// A block that breaks its promise, or a line that is not what the layout says, names its line.
TEST(RohdeSchwarzReader, ProblemsNameTheLine) {
    const std::string head = "Type;FSWP;\nSignal Frequency;1e8;Hz\nTrace;1;\nx-Unit;kHz;\n";
    const std::pair<std::string, std::string> cases[] = {
        {head + "Values;3;\n1;-100;\n2;-110;\n",
         "line 7: trace 1 phase noise holds 2 of the 3 values its Values line "
         "promises"},
        {head + "Values;2;\n1;-100;\n2;x;\n",
         "line 7: '2;x;' is not offset;level; (value 2 of 2 of trace 1 phase noise)"},
        {head + "y-Unit;deg;\n", "line 5: y-Unit 'deg': pnpplot reads levels in dBc/Hz"},
        {head + "Values;many;\n", "line 5: 'Values;many;' is not Values;<count>;"},
        {"Type;FSWP;\nSignal Frequency;1e8;Hz\n", "holds no Trace block"},
    };
    for (const auto& [bytes, problem] : cases) {
        Result<std::vector<Trace>> read = readRohdeSchwarzExport(bytes, "r.dat");
        EXPECT_EQ(read ? "" : describe(*read.problem), "r.dat: " + problem) << bytes;
    }
    // Offsets in kHz are scaled to hertz.
    Result<std::vector<Trace>> kilohertz = readRohdeSchwarzExport(head + "Values;2;\n1;-100;\n2;-110;\n", "k.dat");
    ASSERT_TRUE(kilohertz);
    EXPECT_EQ(kilohertz.value->front().points.back().offset, 2000);
}

}  // namespace
}  // namespace csv2pnp
