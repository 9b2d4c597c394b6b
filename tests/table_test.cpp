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
    TableInput input = readMeasurementTable("run1.csv", console);
    ASSERT_EQ(input.status, InputStatus::read);
    EXPECT_EQ(rowCount(input.table), 3u);
    EXPECT_EQ(console.str(), "Read file = run1.csv (3 rows)\n");

    test::writeFile("empty.csv", "");
    console.str("");
    EXPECT_EQ(readMeasurementTable("empty.csv", console).status, InputStatus::read);
    EXPECT_EQ(console.str(), "Read file = empty.csv (0 rows)\n");
}

TEST_F(CsvTableReaderFile, MissingFileAndDirectoryAreOpenFailuresWithoutMessage) {
    std::filesystem::create_directory("folder.csv");
    for (const char* path : {"missing.csv", "folder.csv"}) {
        std::ostringstream console;
        EXPECT_EQ(readMeasurementTable(path, console).status, InputStatus::notOpened) << path;
        EXPECT_EQ(console.str(), "") << path;
    }
}

// Each cell spelling with the exact double that glibc's atof gives for it. The table runs
// in the Windows suite too, where the host's C library reads some of these differently.
TEST(CellValue, ReadsEverySpellingAsGlibcAtof) {
    const double inf = std::numeric_limits<double>::infinity();
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double tiniest = std::numeric_limits<double>::denorm_min();
    const std::pair<std::string, double> cells[] = {
        {"10", 10},
        {"  -120.5", -120.5},
        {" \t\n\v\f\r7", 7},
        {"+3e2Hz", 300},
        {"1.5e", 1.5},
        {"1e+", 1},
        {".5", 0.5},
        {"-.5e-1", -0.05},
        {"1.", 1},
        {"1.e5", 1e5},
        {"1.2.3", 1.2},
        {"12abc", 12},
        {"100000e-5", 1},
        {"0.1", 0.1},
        {"5" + std::string(400, '0') + "e-400", 5},
        {"0", 0},
        {"-0", -0.0},
        {"-0.0e5", -0.0},
        {"0x1p4", 16},
        {"0X1P4", 16},
        {"0x10", 16},
        {"0x1.8", 1.5},
        {"0x.8p1", 1},
        {"-0x1p-2", -0.25},
        {"\t+0xAbC.dEfP-3", 0xabc.defp-3},
        {"0x1p", 1},
        {"0x1p+", 1},
        {"0x", 0},
        {"-0x", -0.0},
        {"0xg", 0},
        {"0x-1", 0},
        {"0xinf", 0},
        {"0x.p1", 0},
        {"0x1p-1074", tiniest},
        {"0x1p-1075", 0},
        {"0x1p1024", inf},
        {"-0x1p99999999999999999999", -inf},
        {"-0x0.0000001p-1050", -0.0},
        {"inf", inf},
        {"INF", inf},
        {"-Infinity", -inf},
        {"infinit", inf},
        {"+iNfInItY", inf},
        {"nan", nan},
        {"-NAN", -nan},
        {"nan(1)", nan},
        {"nan(0x10000000000000)", nan},
        {"-nan(0x10000000000000)", -nan},
        {"nan(", nan},
        {"nan(a-b)", nan},
        {"1e308", 1e308},
        {"1.7976931348623157e308", 1.7976931348623157e308},
        {"1.8e308", inf},
        {"1e400", inf},
        {"-1e400", -inf},
        {"1e99999999999999999999", inf},
        {"0.000000001e317", 1e308},
        {"1e-400", 0},
        {"-1e-400", -0.0},
        {"1000e-326", 1e-323},
        {"4.9406564584124654e-324", tiniest},
        {"3e-324", tiniest},
        {"2e-324", 0},
        {"2.2250738585072014e-308", 2.2250738585072014e-308},
        {"1e-310", 1e-310},
        {"", 0},
        {"abc", 0},
        {"-x", 0},
        {"-dBc", 0},
        {"- 5", 0},
        {"-.e1", 0},
        {"+-5", 0},
        {"-+5", 0},
        {".", 0},
        {"-", 0},
        {"e5", 0},
        {"in", 0},
        {"\xef\xbb\xbf" "5", 0},
        {std::string("\0" "5", 2), 0},
        {std::string("1\0" "5", 3), 1},
    };
    for (const auto& [cell, expected] : cells) {
        double got = cellValue(cell);
        if (std::isnan(expected)) {
            EXPECT_TRUE(std::isnan(got)) << "cell '" << cell << "'";
            EXPECT_EQ(std::signbit(got), std::signbit(expected)) << "cell '" << cell << "'";
        } else {
            EXPECT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << "cell '" << cell << "': " << got;
        }
    }
}

#ifndef _WIN32
// Random spellings built from the pieces a cell may hold, bit for bit against glibc.
TEST(CellValue, RandomSpellingsReadAsGlibcReadsThem) {
    std::mt19937_64 random(8122026);
    const char* fronts[] = {"", "", "", " ", "\t", "\v\f\r ", "-", "-", "+", "- ", "+-", "--", " -"};
    const char* bodies[] = {"", "0x", "0X", "inf", "INFINITY", "infin", "nan", "NaN(7)", "nan(x_1)", "nan(", ".", "x"};
    const char* tails[] = {"", "e", "e+", "e-7", "E300", "e-320", "e400", "p", "p-3", "P+1080", "p-1100", "Hz", ".",
                           "\r", " dBc", "x1", "\0" "5", "(", ")"};
    const char hexDigits[] = "0123456789abcdefABCDEF";
    for (int i = 0; i < 200000; ++i) {
        std::string cell = fronts[random() % std::size(fronts)];
        std::string body = bodies[random() % std::size(bodies)];
        cell += body;
        bool hex = body == "0x" || body == "0X";
        if (body.empty() || hex || random() % 4 == 0) {
            std::size_t digits = random() % (i % 100 == 0 ? 40 : 14);
            for (std::size_t d = 0; d < digits; ++d) cell += hexDigits[random() % (hex ? 22 : 10)];
            if (random() % 2) cell.insert(cell.size() - random() % (digits + 1), ".");
        }
        cell += tails[random() % std::size(tails)];
        double expected = std::strtod(cell.c_str(), nullptr);
        double got = cellValue(cell);
        if (std::isnan(expected)) {
            ASSERT_TRUE(std::isnan(got) && std::signbit(got) == std::signbit(expected)) << "cell '" << cell << "'";
        } else {
            ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0) << "cell '" << cell << "': " << got << " vs " << expected;
        }
    }
}
#endif

TEST(CellValue, ReadsNothingBeyondTheCell) {
    std::string line = "12,34";
    EXPECT_EQ(cellValue(std::string_view(line).substr(0, 2)), 12.0);
    std::string digits = "5" + std::string(100, '0') + "9";
    EXPECT_EQ(cellValue(std::string_view(digits).substr(0, 101)), 5e100);
}

}  // namespace
}  // namespace csv2pnp
