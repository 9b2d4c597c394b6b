#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layout_samples.h"
#include "traces/keysight_reader.h"
#include "traces/read_warnings.h"

namespace csv2pnp {
namespace {

TEST(KeysightReader, BothLayouts) {
    const struct {
        const char* bytes;
        const char* caption;
        double firstLevel;
    } cases[] = {
        {test::keysightSample, "e.csv PN1", -71.23456},
        {test::keysightChannelSample, "e.csv channel 1 trace 1", -102.3456789},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(isKeysightCsv(c.bytes));
        Result<std::vector<Trace>> read = readKeysightCsv(c.bytes, "e.csv");
        ASSERT_TRUE(read) << read.problem->text;
        ASSERT_EQ(read.value->size(), 1u);
        const Trace& trace = read.value->front();
        EXPECT_EQ(trace.caption, c.caption);
        ASSERT_EQ(trace.points.size(), 3u);
        EXPECT_EQ(trace.points[0].offset, 10);
        EXPECT_EQ(trace.points[2].offset, 1000);
        EXPECT_EQ(trace.points[0].level, c.firstLevel);
    }
    // Two blocks, the second with two traces: each named by its block and column.
    const std::string two = std::string(test::keysightSample) +
                            "BEGIN CH2_DATA\nFreq(kHz),A(dBc/Hz),B(dBc/Hz)\n1,-100,-110\n10,-120,-130\nEND\n";
    Result<std::vector<Trace>> read = readKeysightCsv(two, "e.csv");
    ASSERT_TRUE(read);
    ASSERT_EQ(read.value->size(), 3u);
    EXPECT_EQ(read.value->at(2).caption, "e.csv CH2_DATA B");
    EXPECT_EQ(read.value->at(2).points[1].offset, 10000);
}

TEST(KeysightReader, ProblemsNameTheLine) {
    const std::pair<std::string, std::string> cases[] = {
        {"!CSV A.01.01\nBEGIN CH1\nFreq(Hz),PN(dBc/Hz)\n10,-100,5\nEND\n", "line 4: 3 cells, the header has 2"},
        {"!CSV A.01.01\nBEGIN CH1\nFreq(Hz),Phase(deg)\n", "line 3: " + levelsInOtherUnit(2, "Phase(deg)", "deg")},
        {"!CSV A.01.01\nBEGIN CH1\nFreq(Hz),Phase\n", "line 3: the header names no column in dBc/Hz"},
        {"!CSV A.01.01\nBEGIN CH1\nFreq(Hz),PN(dBc/Hz)\n10,x\nEND\n", "line 4: 'x' is not a level"},
        {"\"# Channel 1\"\n+1.0E+001, -1.0E+002\n", "line 2: numbers before a \"# Trace\" line"},
    };
    for (const auto& [bytes, problem] : cases) {
        Result<std::vector<Trace>> read = readKeysightCsv(bytes, "k.csv");
        EXPECT_EQ(read ? "" : describe(*read.problem), "k.csv: " + problem) << bytes;
    }
}

}  // namespace
}  // namespace csv2pnp
