#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <optional>
#include <random>
#include <string>
#include <string_view>
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
        {"\xef\xbb\xbf"
         "5",
         0},
        {std::string("\0"
                     "5",
                     2),
         0},
        {std::string("1\0"
                     "5",
                     3),
         1},
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
    const char* tails[] = {"",
                           "e",
                           "e+",
                           "e-7",
                           "E300",
                           "e-320",
                           "e400",
                           "p",
                           "p-3",
                           "P+1080",
                           "p-1100",
                           "Hz",
                           ".",
                           "\r",
                           " dBc",
                           "x1",
                           "\0"
                           "5",
                           "(",
                           ")"};
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
            ASSERT_EQ(std::memcmp(&got, &expected, sizeof got), 0)
                << "cell '" << cell << "': " << got << " vs " << expected;
        }
    }
}
#endif

// Builds random cell spellings aimed at the edges of cellNumber's shortcut: 1 to 18
// significant digits (16 and 17 often, some of them above 2^53), leading and trailing
// zeros, the point anywhere, exponents with and without sign, digits or leading zeros,
// decimal powers around and beyond 10^±22, junk after the number, white space and signs
// before it, and the spellings the shortcut leaves alone (hexadecimal, inf, nan, none).
class SpellingMaker {
public:
    explicit SpellingMaker(std::uint64_t seed) : state_(seed) {}

    // The whole spelling; its part after the front (white space and signs) starts at body().
    std::string_view next() {
        length_ = 0;
        static const char* const fronts[] = {" ", "-", "+", "\t-", "--", "+-", " +"};
        if (pick(5) == 0) add(fronts[pick(std::size(fronts))]);
        body_ = length_;
        if (pick(12) == 0) {
            static const char* const others[] = {"0x1.8p3",  "0X10", "0x",      "0xg",   "inf", "-inf",
                                                 "Infinity", "nan",  "nan(12)", ".",     "",    "e5",
                                                 ".e1",      "-",    "x1",      "0.5.5", "1,5"};
            add(others[pick(std::size(others))]);
        } else {
            addDecimal();
        }
        static const std::string_view tails[] = {",",
                                                 "Hz",
                                                 " dBc",
                                                 ".",
                                                 ".5",
                                                 "e",
                                                 "E+",
                                                 "x",
                                                 "p3",
                                                 "-1",
                                                 {"\0"
                                                  "7",
                                                  2},
                                                 "\r"};
        if (pick(4) == 0) add(tails[pick(std::size(tails))]);
        return std::string_view(text_, length_);
    }

    std::string_view body() const { return std::string_view(text_ + body_, length_ - body_); }

private:
    // SplitMix64: cheap enough that making the spellings costs less than reading them.
    std::uint64_t random() {
        std::uint64_t z = (state_ += 0x9e3779b97f4a7c15);
        z = (z ^ (z >> 30)) * 0xbf58476d1ce4e5b9;
        z = (z ^ (z >> 27)) * 0x94d049bb133111eb;
        return z ^ (z >> 31);
    }
    std::size_t pick(std::size_t n) { return static_cast<std::size_t>(((random() >> 32) * n) >> 32); }

    void add(char c) {
        if (length_ < sizeof text_) text_[length_++] = c;
    }
    void add(std::string_view text) {
        for (char c : text) add(c);
    }
    // Eighteen random digits come from one draw.
    void addDigit(bool nonZero) {
        if (digitsLeft_ == 0) {
            digitSource_ = random();
            digitsLeft_ = 18;
        }
        auto digit = static_cast<unsigned>(digitSource_ % 10);
        digitSource_ /= 10;
        --digitsLeft_;
        if (nonZero && digit == 0) digit = 1 + static_cast<unsigned>(digitSource_ % 9);
        add(static_cast<char>('0' + digit));
    }

    void addDecimal() {
        const std::size_t counts[] = {15, 16, 16, 17, 15, 14, 16};
        const std::size_t significant = pick(3) == 0 ? counts[pick(std::size(counts))] : 1 + pick(18);
        const std::size_t leadingZeros = pick(4) == 0 ? pick(pick(8) == 0 ? 30 : 4) : 0;
        const std::size_t trailingZeros = pick(4) == 0 ? pick(6) : 0;
        const std::size_t mantissa = leadingZeros + significant + trailingZeros;
        // The point before, inside or after the digits, or none.
        const std::size_t point = pick(4) == 0 ? mantissa + 1 : pick(mantissa + 1);
        std::size_t position = 0;
        for (std::size_t i = 0; i < mantissa; ++i, ++position) {
            if (position == point) add('.');
            if (i < leadingZeros || i >= leadingZeros + significant) {
                add('0');
            } else {
                addDigit(i == leadingZeros);
            }
        }
        if (point == mantissa) add('.');
        if (pick(3) == 0) return;
        add(pick(2) ? 'e' : 'E');
        const char* const signs[] = {"", "+", "-", "-"};
        add(signs[pick(std::size(signs))]);
        switch (pick(16)) {
        case 0: return;  // no digits: the "e" is not part of the number
        case 1: add("400"); return;
        case 2: add("99999999999999999999"); return;
        case 3: add("00"); break;
        default: break;
        }
        // Enough to move the power of ten from below 10^-22 to above 10^22 from here.
        const std::size_t exponent = pick(30);
        if (exponent >= 10) add(static_cast<char>('0' + exponent / 10));
        add(static_cast<char>('0' + exponent % 10));
    }

    std::uint64_t state_;
    std::uint64_t digitSource_ = 0;
    unsigned digitsLeft_ = 0;
    char text_[96];
    std::size_t length_ = 0;
    std::size_t body_ = 0;
};

bool sameNumber(std::optional<double> a, std::optional<double> b) {
    return a.has_value() == b.has_value() && (!a || std::memcmp(&*a, &*b, sizeof(double)) == 0);
}

std::string shown(std::optional<double> value) {
    if (!value) return "no number";
    char text[64];
    std::snprintf(text, sizeof text, "%a", *value);
    return text;
}

// The shortcut against the general reader, bit for bit, over ten million spellings.
TEST(CellValue, ShortcutReadsWhatFromCharsReads) {
    SpellingMaker maker(20261209);
    const long spellings = 10'000'000;
    long readByShortcut = 0;
    for (long i = 0; i < spellings; ++i) {
        const std::string_view cell = maker.next();
        const std::optional<double> expected = cellNumberByFromChars(cell);
        const std::optional<double> got = cellNumber(cell);
        ASSERT_TRUE(sameNumber(got, expected))
            << "cell '" << cell << "': " << shown(got) << " instead of " << shown(expected);
        const std::string_view body = maker.body();
        if (std::optional<double> quick = shortDecimal(body)) {
            ++readByShortcut;
            const std::optional<double> general = body.size() == cell.size() ? expected : cellNumberByFromChars(body);
            ASSERT_TRUE(sameNumber(quick, general))
                << "text '" << body << "': " << shown(quick) << " instead of " << shown(general);
        }
    }
    // Nearly half of them are read by the shortcut, the rest are left to the general reader.
    EXPECT_GT(readByShortcut, spellings * 2 / 5);
    RecordProperty("readByShortcut", std::to_string(readByShortcut));
}

// Where the shortcut stops: beyond its bounds and outside plain decimals it reads nothing.
TEST(CellValue, ShortcutTakesOnlyShortPlainDecimals) {
    const std::pair<std::string, std::optional<double>> cases[] = {
        {"123456789012345", 123456789012345.0},
        {"1234567890123456", std::nullopt},
        {"0.00012345678901", 0.00012345678901},
        {"0.000123456789012", std::nullopt},
        {"1234567.890123456", std::nullopt},
        {"000000000000001", 1.0},
        {"0000000000000001", std::nullopt},
        {"1" + std::string(15, '0'), std::nullopt},
        {"1e22", 1e22},
        {"1e23", std::nullopt},
        {"1e-22", 1e-22},
        {"0.1e-22", std::nullopt},
        {"100e20", 1e22},
        {"123.25e-1Hz", 12.325},
        {"1e+", 1.0},
        {"2.5E", 2.5},
        {"0e99999999999999999999", 0.0},
        {"0.000", 0.0},
        {"-119.86", std::nullopt},
        {"+5", std::nullopt},
        {" 5", std::nullopt},
        {"0x10", std::nullopt},
        {"inf", std::nullopt},
        {"nan", std::nullopt},
        {".", std::nullopt},
        {"", std::nullopt},
    };
    for (const auto& [text, expected] : cases) {
        EXPECT_TRUE(sameNumber(shortDecimal(text), expected)) << "'" << text << "': " << shown(shortDecimal(text));
    }
}

// Reads the next count cells one by one, as nextCellValues stands in for.
std::vector<double> cellByCell(CellCursor& cursor, std::size_t count) {
    std::vector<double> values;
    for (std::size_t k = 0; k < count; ++k) {
        std::optional<std::string_view> cell = nextCell(cursor);
        if (!cell) break;
        values.push_back(cellValue(*cell));
    }
    return values;
}

void expectSameCells(std::string_view line, std::size_t count) {
    CellCursor byValues = cellsOf(MeasurementRow{line});
    CellCursor byCells = byValues;
    double values[4];
    std::size_t read = nextCellValues(byValues, values, count);
    const std::vector<double> expected = cellByCell(byCells, count);
    ASSERT_EQ(read, expected.size()) << "line '" << line << "'";
    for (std::size_t k = 0; k < read; ++k) {
        ASSERT_EQ(std::memcmp(&values[k], &expected[k], sizeof(double)), 0) << "line '" << line << "', cell " << k;
    }
    // The cursor is left where stepping cell by cell leaves it.
    ASSERT_EQ(byValues.done, byCells.done) << "line '" << line << "'";
    ASSERT_EQ(byValues.rest.data(), byCells.rest.data()) << "line '" << line << "'";
    ASSERT_EQ(byValues.rest.size(), byCells.rest.size()) << "line '" << line << "'";
}

TEST(CellValue, NextCellValuesStepsAsNextCellDoes) {
    const char* const lines[] = {"",      ",",     ",,",    "1,",         ",,5",   "5,,",          "1,2,3,4",
                                 " 7 ,x", "-0,+0", "1e5,2", "0x1p3,nan,", "1.5.5", "12Hz,-3 dBc,", "1e,2e+,3e-1"};
    for (const char* line : lines) {
        for (std::size_t count = 0; count <= 4; ++count) expectSameCells(line, count);
    }
    // Rows of generated spellings, whose tails put commas anywhere.
    SpellingMaker maker(8122026);
    for (int i = 0; i < 300'000; ++i) {
        std::string line(maker.next());
        for (int cells = i % 4; cells > 0; --cells) line += "," + std::string(maker.next());
        expectSameCells(line, static_cast<std::size_t>(i % 5));
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
