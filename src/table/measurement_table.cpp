#include "table/measurement_table.h"

#include <algorithm>

namespace csv2pnp {

std::optional<std::string_view> nextCell(CellCursor& cursor) {
    if (cursor.done) return std::nullopt;
    std::size_t comma = cursor.rest.find(',');
    if (comma == std::string_view::npos) {
        cursor.done = true;
        return cursor.rest;
    }
    std::string_view cell = cursor.rest.substr(0, comma);
    cursor.rest.remove_prefix(comma + 1);
    // A comma at the end of the line closes the last cell; no empty cell follows it.
    cursor.done = cursor.rest.empty();
    return cell;
}

std::size_t cellCount(MeasurementRow row) {
    if (row.line.empty()) return 0;
    auto commas = static_cast<std::size_t>(std::count(row.line.begin(), row.line.end(), ','));
    return row.line.back() == ',' ? commas : commas + 1;
}

std::optional<std::string_view> cellAt(MeasurementRow row, std::size_t index) {
    CellCursor cursor = cellsOf(row);
    for (std::size_t k = 0; k < index; ++k) {
        if (!nextCell(cursor)) return std::nullopt;
    }
    return nextCell(cursor);
}

}  // namespace csv2pnp
