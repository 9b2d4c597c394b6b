#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scratch_dir.h"
#include "table/csv_table_reader.h"

namespace csv2pnp {
namespace {

using Rows = std::vector<std::vector<std::string>>;

Rows rowsOf(const MeasurementTable& table) {
    Rows rows;
    for (std::size_t r = 0; r < rowCount(table); ++r) {
        MeasurementRow row = rowAt(table, r);
        std::vector<std::string> cells;
        CellCursor cursor = cellsOf(row);
        while (std::optional<std::string_view> cell = nextCell(cursor)) cells.emplace_back(*cell);
        EXPECT_EQ(cellCount(row), cells.size()) << "row " << r;
        for (std::size_t k = 0; k < cells.size(); ++k) EXPECT_EQ(cellAt(row, k), cells[k]);
        EXPECT_FALSE(cellAt(row, cells.size()));
        rows.push_back(cells);
    }
    return rows;
}

struct ParseCase {
    const char* name;
    std::string bytes;
    Rows rows;
};

TEST(CsvTableReader, SplitsLinesAndCellsByTheReadingRules) {
    const ParseCase cases[] = {
        {"empty file", "", {}},
        {"Ctrl-Z first", std::string("\x1a") + "1,2,3\n", {}},
        {"one LF", "\n", {{}}},
        {"last line without LF", "1,2\n3,4", {{"1", "2"}, {"3", "4"}}},
        {"two final LFs", "1,2\n\n", {{"1", "2"}, {}}},
        {"three values", "1000,-120.5,0.25\n", {{"1000", "-120.5", "0.25"}}},
        {"trailing comma", "1000,-120.5,0.25,\n", {{"1000", "-120.5", "0.25"}}},
        {"two adjacent commas", "1000,,-120.5,0.25\n", {{"1000", "", "-120.5", "0.25"}}},
        {"leading comma", ",5\n", {{"", "5"}}},
        {"single comma", ",\n", {{""}}},
        {"two commas", ",,\n", {{"", ""}}},
        {"CR LF line ends", "1,2\r\n3,4\r\n", {{"1", "2"}, {"3", "4"}}},
        {"lone CR stays", "1,2\r3,4\r", {{"1", "2\r3", "4\r"}}},
        {"CR before CR LF", "1\r\r\n", {{"1\r"}}},
        {"Ctrl-Z ends the input", std::string("1,2\n3,\x1a") + "4\n5\n", {{"1", "2"}, {"3"}}},
        {"quotes are ordinary bytes", "\"1,5\",2\n", {{"\"1", "5\"", "2"}}},
        {"blanks stay", " 1 , 2 \n", {{" 1 ", " 2 "}}},
        {"ragged rows and a header", "Offset,Level\n1,2,3,4\n5\n", {{"Offset", "Level"}, {"1", "2", "3", "4"}, {"5"}}},
        {"NUL and BOM bytes stay",
         std::string("\xef\xbb\xbf"
                     "1,a\0b\n",
                     9),
         {{"\xef\xbb\xbf"
           "1",
           std::string("a\0b", 3)}}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(rowsOf(parseMeasurementTable(c.bytes)), c.rows);
    }
}

class CsvTableReaderFile : public test::ScratchDir {};

TEST_F(CsvTableReaderFile, ReadsTheRowsOfAFileThatOpens) {
    test::writeFile("run1.csv", "1,2,3\n\n4,5,6");
    Result<MeasurementTable> input = readMeasurementTable("run1.csv", systemHost());
    ASSERT_TRUE(input);
    EXPECT_EQ(rowsOf(*input.value), (Rows{{"1", "2", "3"}, {}, {"4", "5", "6"}}));

    test::writeFile("empty.csv", "");
    Result<MeasurementTable> empty = readMeasurementTable("empty.csv", systemHost());
    ASSERT_TRUE(empty);
    EXPECT_EQ(rowCount(*empty.value), 0u);
}

TEST_F(CsvTableReaderFile, MissingFileAndDirectoryAreOpenFailures) {
    std::filesystem::create_directory("folder.csv");
    for (const char* path : {"missing.csv", "folder.csv"}) {
        EXPECT_EQ(readMeasurementTable(path, systemHost()).problem->kind, ProblemKind::notOpened) << path;
    }
}

}  // namespace
}  // namespace csv2pnp
