#include <cmath>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "table/cell_value.h"

namespace csv2pnp {
namespace {

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
