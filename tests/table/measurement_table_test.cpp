#include <optional>
#include <string>
#include <string_view>

#include <gtest/gtest.h>

#include "table/measurement_table.h"

namespace csv2pnp {
namespace {

// The cells of a row: pieces between commas, the last one dropped when the line ends in a
// comma, none in an empty line; a cell past the last is nothing.
TEST(MeasurementTable, CellsOfARow) {
    const struct {
        std::string_view line;
        std::size_t count;
        std::optional<std::string_view> second;
    } cases[] = {
        {"1,-90,-100", 3, "-90"}, {"1,-90,", 2, "-90"},  {"1,,-100", 3, ""},
        {"1", 1, std::nullopt},   {"", 0, std::nullopt},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(cellCount({c.line}), c.count) << c.line;
        EXPECT_EQ(cellAt({c.line}, 1), c.second) << c.line;
    }
}

}  // namespace
}  // namespace csv2pnp
