#include <cmath>
#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "traces/text_table.h"

namespace csv2pnp {
namespace {

TEST(TextTable, NumbersOfEitherLocale) {
    const struct {
        const char* cell;
        char mark;
        std::optional<double> value;
    } cases[] = {
        {"-42,863144", ',', -42.863144},
        {"-42.863144", '.', -42.863144},
        {" \"1,5e3\" ", ',', 1500},
        {"+1.00000000000E+001", '.', 10},
        {"1e-3", '.', 1e-3},
        {"-0", '.', -0.0},
        {"1,5", '.', std::nullopt},
        {"1.5", ',', std::nullopt},
        {"1,000.5", ',', std::nullopt},
        {"--1", '.', std::nullopt},
        {"+-1", '.', std::nullopt},
        {"12 Hz", '.', std::nullopt},
        {"", '.', std::nullopt},
        {"\"\"", '.', std::nullopt},
        {"1e400", '.', INFINITY},
    };
    for (const auto& c : cases) EXPECT_EQ(numberIn(c.cell, c.mark), c.value) << c.cell;
}

TEST(TextTable, CellsLinesAndTheFormatOfATable) {
    std::vector<std::string_view> cells;
    splitCells(" \"a;b\" ; 2 ;", ';', cells);
    EXPECT_EQ(cells, (std::vector<std::string_view>{"a;b", "2", ""}));
    splitCells("  10   -100 \t -110 ", '\0', cells);
    EXPECT_EQ(cells, (std::vector<std::string_view>{"10", "-100", "-110"}));

    LineWalk walk = linesOf("a\r\nb\rc\nd");
    std::vector<std::string_view> lines;
    while (std::optional<std::string_view> line = nextLine(walk)) lines.push_back(*line);
    EXPECT_EQ(lines, (std::vector<std::string_view>{"a", "b", "c", "d"}));
    EXPECT_EQ(walk.number, 4u);

    const struct {
        const char* text;
        char separator, mark;
    } formats[] = {
        {"# x\n10;-1,5\n100;-2,5\n", ';', ','},
        {"10;-1.5\n", ';', '.'},
        {"10\t-1,5\n", '\t', ','},
        {"10 -1,5\n", '\0', ','},
        {"10,-1.5\n", ',', '.'},
        {"Offset,Level\n", ',', '.'},
    };
    for (const auto& f : formats) {
        TableFormat format = tableFormatOf(f.text);
        EXPECT_EQ(format.separator, f.separator) << f.text;
        EXPECT_EQ(format.decimalMark, f.mark) << f.text;
    }
}

}  // namespace
}  // namespace csv2pnp
