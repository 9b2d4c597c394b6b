#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layout_samples.h"
#include "traces/read_warnings.h"
#include "traces/table_reader.h"

namespace csv2pnp {
namespace {

std::vector<std::string> captionsOf(const std::vector<Trace>& traces) {
    std::vector<std::string> captions;
    for (const Trace& trace : traces) captions.push_back(trace.caption + (trace.floor ? " [floor]" : ""));
    return captions;
}

std::vector<std::string> described(const std::vector<Warning>& warnings) {
    std::vector<std::string> texts;
    for (const Warning& warning : warnings) texts.push_back(describe(warning));
    return texts;
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

// Metadata lines with numbers before the header; columns named floor are the analyzer's floor;
// columns it cannot read are warned of at the header; levels in another unit alone are refused,
// unless --columns says which to read; a section without a header row of its own reads as the
// one before it.
TEST(TableReader, WhatTheHeaderNames) {
    const std::string metadata = "\"Averages\",16\n\"Points\",601\n\"Date\",20261209\n";
    const struct {
        std::string bytes;
        std::optional<ColumnChoice> columns;
        std::vector<std::string> captions, warnings;
        double firstOffset, firstLevel;
    } cases[] = {
        {metadata + "Offset (kHz),Phase Noise (dBc/Hz),Noise floor (dBc/Hz)\n0.01,-80.5,-120.25\n1,-110,-150\n",
         std::nullopt,
         {"h.csv Phase Noise (dBc/Hz)", "h.csv Noise floor (dBc/Hz) [floor]"},
         {},
         10,
         -80.5},
        {"f [Hz];L [dBc/Hz];SENSITIVITY;Temperature (C);Note\n10;-80.5;-120;25;a\n100;-90;-130;25;b\n",
         std::nullopt,
         {"h.csv L [dBc/Hz]", "h.csv SENSITIVITY [floor]"},
         {"h.csv: line 1: " + columnNotRead(4, "Temperature (C)", unitNotDbcPerHz("C")),
          "h.csv: line 1: " + columnNotRead(5, "Note", namesNoUnit)},
         10,
         -80.5},
        {"Offset (Hz),Level (dBm),System floor (dBc/Hz)\n10,-20,-120\n100,-30,-130\n",
         ColumnChoice{0, 1, 2},
         {"h.csv Level (dBm)", "h.csv System floor (dBc/Hz) [floor]"},
         {"h.csv: line 1: " + columnReadAsDbcPerHz(2, "Level (dBm)", "dBm")},
         10,
         -20},
        {"Offset (Hz),A (dBc/Hz)\n10,-100\n100,-110\nReference\n10,-105\n100,x\n",
         std::nullopt,
         {"h.csv A (dBc/Hz)", "h.csv Reference: A (dBc/Hz)"},
         {"h.csv: line 6: '100,x' " + std::string(noLevelInCell)},
         10,
         -100},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(hasUnitHeader(c.bytes)) << c.bytes;
        Result<std::vector<Trace>> read = readUnitHeaderTable(c.bytes, "h.csv", c.columns);
        ASSERT_TRUE(read) << read.problem->text;
        EXPECT_EQ(captionsOf(*read.value), c.captions);
        EXPECT_EQ(described(read.warnings), c.warnings);
        EXPECT_EQ(read.value->front().points.front().offset, c.firstOffset);
        EXPECT_EQ(read.value->front().points.front().level, c.firstLevel);
    }
    Result<std::vector<Trace>> refused = readUnitHeaderTable(
        "# amplitude units: dBm\nOffset (Hz),Level (dBm),Floor\n10,-20,-120\n", "d.csv", std::nullopt);
    ASSERT_FALSE(refused);
    EXPECT_EQ(describe(*refused.problem), "d.csv: line 2: " + levelsInOtherUnit(2, "Level (dBm)", "dBm"));
    EXPECT_EQ(described(refused.warnings), std::vector<std::string>{});
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
    // A comment naming another amplitude unit, and columns beyond the third, are warned of.
    Result<std::vector<Trace>> warned = readNumberColumns(
        "% Exported, amplitude units: DBM\n10\t-20\t-90\t1\n100\t-30\t-95\t1\n", "u.txt", std::nullopt);
    ASSERT_TRUE(warned);
    EXPECT_EQ(described(warned.warnings),
              (std::vector<std::string>{
                  "u.txt: line 1: " + amplitudeUnitNamed("DBM"),
                  "u.txt: line 2: '10\t-20\t-90\t1' " + std::string(cellsBeyondRead) + " (and 1 more line like it)"}));
}

}  // namespace
}  // namespace csv2pnp
