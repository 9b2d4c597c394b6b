// The rows of one CSV export: its bytes held once, plus where each line ends.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace csv2pnp {

struct MeasurementTable {
    std::string text;                   // the input after CR LF and Ctrl-Z handling
    std::vector<std::size_t> lineEnds;  // per row: offset of its LF, or of the end of text
};

// One line of the table without its LF; its cells are the pieces between commas,
// the last piece dropped when it is empty.
struct MeasurementRow {
    std::string_view line;
};

// Inline, as cellsOf below: the scans of the trace call them for every row.
inline std::size_t rowCount(const MeasurementTable& table) { return table.lineEnds.size(); }

inline MeasurementRow rowAt(const MeasurementTable& table, std::size_t row) {
    std::size_t begin = row == 0 ? 0 : table.lineEnds[row - 1] + 1;
    return MeasurementRow{std::string_view(table.text).substr(begin, table.lineEnds[row] - begin)};
}

// Walks the cells of one row from left to right.
struct CellCursor {
    std::string_view rest;
    bool done;
};

inline CellCursor cellsOf(MeasurementRow row) { return CellCursor{row.line, row.line.empty()}; }
std::optional<std::string_view> nextCell(CellCursor& cursor);

std::size_t cellCount(MeasurementRow row);
std::optional<std::string_view> cellAt(MeasurementRow row, std::size_t index);

}  // namespace csv2pnp
