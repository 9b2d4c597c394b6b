#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layout_samples.h"
#include "traces/table_reader.h"

namespace csv2pnp {
namespace {

std::vector<std::string> captionsOf(const std::vector<Trace>& traces) {
    std::vector<std::string> captions;
    for (const Trace& trace : traces) captions.push_back(trace.caption);
    return captions;
}

// Each dBc/Hz column a trace named by its header; the carrier from the metadata; a section of
// its own after a line of text.
TEST(TableReader, HeaderThatNamesTheUnits) {
    ASSERT_TRUE(hasUnitHeader(test::unitHeaderSample));
    Result<std::vector<Trace>> read = readUnitHeaderTable(test::unitHeaderSample, "sdr.csv", std::nullopt);
    ASSERT_TRUE(read) << read.problem->text;
    EXPECT_EQ(captionsOf(*read.value),
              (std::vector<std::string>{"sdr.csv Phase noise (dBc/Hz)", "sdr.csv Phase noise (dBc/Hz) (smoothed)",
                                        "sdr.csv Reference trace: Phase noise (dBc/Hz)"}));
    EXPECT_EQ(read.value->front().carrier, 100e6);
    EXPECT_EQ(read.value->at(1).points[1].level, -120.1);
    EXPECT_EQ(read.value->at(2).points.size(), 2u);
    // The offsets in kHz are scaled; a row of another width names its line.
    Result<std::vector<Trace>> kilohertz =
        readUnitHeaderTable("Offset (kHz);L (dBc/Hz)\n1;-100,5\n10;-120\n", "k.csv", std::nullopt);
    ASSERT_TRUE(kilohertz);
    EXPECT_EQ(kilohertz.value->front().points[1].offset, 10000);
    EXPECT_EQ(kilohertz.value->front().points[0].level, -100.5);
    Result<std::vector<Trace>> ragged =
        readUnitHeaderTable("f (Hz),L (dBc/Hz)\n10,-100\n100,-110,3\n", "r.csv", std::nullopt);
    ASSERT_FALSE(ragged);
    EXPECT_EQ(describe(*ragged.problem), "r.csv: line 3: 3 cells, the header has 2");
    EXPECT_FALSE(hasUnitHeader("10,-100\nOffset (Hz),L (dBc/Hz)\n"));  // numbers came first
}

// Semicolons, tabs, spaces or quotes; decimal commas where commas do not separate; the third
// column the floor; the columns chosen by the user.
TEST(TableReader, NumbersInColumns) {
    const struct {
        std::string bytes;
        double level, floor;
        std::string note;
    } cases[] = {
        {test::europeanColumnsSample, -119.86, -131.53, "separated by semicolons, with decimal commas"},
        {"% a comment\n10\t-119.86\t-131.53\n100\t-143.7\t-157.4\n", -119.86, -131.53, "separated by tabs"},
        {"! offset level floor\n  10   -119.86  -131.53\n 100  -143.7  -157.4\n", -119.86, -131.53,
         "separated by spaces"},
        {"\"10\",\"-119.86\",\"-131.53\"\n\"100\",\"-143.7\",\"-157.4\"\n", -119.86, -131.53, "separated by commas"},
    };
    for (const auto& c : cases) {
        Result<std::vector<Trace>> read = readNumberColumns(c.bytes, "m.txt", std::nullopt);
        ASSERT_TRUE(read) << c.bytes;
        ASSERT_EQ(read.value->size(), 2u) << c.bytes;
        EXPECT_EQ(read.value->at(0).points[0].level, c.level) << c.bytes;
        EXPECT_EQ(read.value->at(1).points[0].level, c.floor) << c.bytes;
        EXPECT_TRUE(read.value->at(1).floor);
        EXPECT_EQ(read.value->at(0).layoutNote, c.note);
    }
    Result<std::vector<Trace>> chosen =
        readNumberColumns(test::europeanColumnsSample, "m.txt", ColumnChoice{0, 2, std::nullopt});
    ASSERT_TRUE(chosen);
    ASSERT_EQ(chosen.value->size(), 1u);
    EXPECT_EQ(chosen.value->front().points[0].level, -131.53);
    Result<std::vector<Trace>> ragged = readNumberColumns("10;-1\n100;-2;-3\n", "r.txt", std::nullopt);
    EXPECT_EQ(describe(*ragged.problem), "r.txt: line 2: 3 cells, the first row of numbers has 2");
}

}  // namespace
}  // namespace csv2pnp
