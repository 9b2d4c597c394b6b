#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "scratch_dir.h"
#include "table/cell_value.h"
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
        {"NUL and BOM bytes stay", std::string("\xef\xbb\xbf" "1,a\0b\n", 9), {{"\xef\xbb\xbf" "1", std::string("a\0b", 3)}}},
    };
    for (const ParseCase& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_EQ(rowsOf(parseMeasurementTable(c.bytes)), c.rows);
    }
}

class CsvTableReaderFile : public test::ScratchDir {};

TEST_F(CsvTableReaderFile, ReportsTheRowsOfAFileThatOpens) {
    test::writeFile("run1.csv", "1,2,3\n\n4,5,6");
    std::ostringstream console;
    std::optional<MeasurementTable> table = readMeasurementTable("run1.csv", console);
    ASSERT_TRUE(table);
    EXPECT_EQ(rowCount(*table), 3u);
    EXPECT_EQ(console.str(), "Read file = run1.csv (3 rows)\n");

    test::writeFile("empty.csv", "");
    console.str("");
    ASSERT_TRUE(readMeasurementTable("empty.csv", console));
    EXPECT_EQ(console.str(), "Read file = empty.csv (0 rows)\n");
}

TEST_F(CsvTableReaderFile, MissingFileAndDirectoryAreOpenFailuresWithoutMessage) {
    std::filesystem::create_directory("folder.csv");
    for (const char* path : {"missing.csv", "folder.csv"}) {
        std::ostringstream console;
        EXPECT_FALSE(readMeasurementTable(path, console)) << path;
        EXPECT_EQ(console.str(), "") << path;
    }
}

TEST(CellValue, ReadsLikeC99Atof) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const std::pair<const char*, double> cells[] = {
        {"10", 10},        {"  -120.5", -120.5}, {"\t+3e2Hz", 300}, {"1.5e", 1.5},   {"0x1p4", 16},
        {"0x", 0},         {".5", 0.5},          {"-.5e-1", -0.05}, {"inf", inf},    {"-Infinity", -inf},
        {"nan", nan},      {"nan(1)", nan},      {"abc", 0},        {"", 0},         {"- 5", 0},
        {"+-5", 0},        {"1e999", inf},       {"-1e999", -inf},  {"1e-999", 0},   {"12abc", 12},
        {"1,5", 1},        {"\r7", 7},           {"0x.8p1", 1},     {"1.2.3", 1.2},  {"-nan", -nan},
    };
    for (const auto& [cell, expected] : cells) {
        double got = cellValue(cell);
        if (std::isnan(expected)) {
            EXPECT_TRUE(std::isnan(got)) << cell;
            EXPECT_EQ(std::signbit(got), std::signbit(expected)) << cell;
        } else {
            EXPECT_EQ(got, expected) << "cell '" << cell << "'";
        }
    }
}

// Plain decimals take a faster road than strtod; both must give the same double.
TEST(CellValue, PlainDecimalsReadAsStrtodReadsThem) {
    std::mt19937_64 random(8122026);
    const char* tails[] = {"", "e", "e+", "e-7", "E300", "e-320", "e400", "Hz", ".", "\r", " dBc", "x1", "\0" "5"};
    for (int i = 0; i < 50000; ++i) {
        std::string cell = random() % 3 == 0 ? "-" : "";
        std::size_t digits = 1 + random() % (i % 100 == 0 ? 40 : 12);
        for (std::size_t d = 0; d < digits; ++d) cell += static_cast<char>('0' + random() % 10);
        if (random() % 2) {
            cell.insert(cell.size() - random() % digits, ".");
        }
        cell += tails[random() % std::size(tails)];
        double expected = std::strtod(cell.c_str(), nullptr);
        double got = cellValue(cell);
        ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << "cell '" << cell << "': " << got << " vs " << expected;
    }
}

TEST(CellValue, ReadsNothingBeyondTheCell) {
    std::string line = "12,34";
    EXPECT_EQ(cellValue(std::string_view(line).substr(0, 2)), 12.0);
    std::string digits = "5" + std::string(100, '0') + "9";
    EXPECT_EQ(cellValue(std::string_view(digits).substr(0, 101)), 5e100);
}

}  // namespace
}  // namespace csv2pnp
