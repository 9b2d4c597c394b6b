// The rows of one CSV export: its bytes held once, plus where each line ends.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace csv2pnp {

struct MeasurementTable {
    std::string text;                    // the input after CR LF and Ctrl-Z handling
    std::vector<std::size_t> lineEnds;   // per row: offset of its LF, or of the end of text
};

// One line of the table without its LF; its cells are the pieces between commas,
// the last piece dropped when it is empty.
struct MeasurementRow {
    std::string_view line;
};

std::size_t rowCount(const MeasurementTable& table);
MeasurementRow rowAt(const MeasurementTable& table, std::size_t row);

// Walks the cells of one row from left to right.
struct CellCursor {
    std::string_view rest;
    bool done;
};

CellCursor cellsOf(MeasurementRow row);
std::optional<std::string_view> nextCell(CellCursor& cursor);

std::size_t cellCount(MeasurementRow row);
std::optional<std::string_view> cellAt(MeasurementRow row, std::size_t index);

}  // namespace csv2pnp
