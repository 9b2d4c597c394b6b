// The text of an instrument's export as lines and cells: lines end at LF, CR LF or a lone CR;
// cells are separated by commas, semicolons, tabs or runs of spaces, may be quoted, and hold
// numbers with a decimal point or, in a European locale, a decimal comma.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

namespace csv2pnp {

// Walks the lines of a text, each without its end.
struct LineWalk {
    const char* at;
    const char* end;
    std::size_t number = 0;  // of the line last returned, from 1
};

inline LineWalk linesOf(std::string_view text) { return LineWalk{text.data(), text.data() + text.size(), 0}; }
std::optional<std::string_view> nextLine(LineWalk& walk);

// The texts compared are a few characters long: a plain loop beats a call of memcmp.
inline bool startsWith(std::string_view text, std::string_view start) {
    if (text.size() < start.size()) return false;
    for (std::size_t i = 0; i < start.size(); ++i) {
        if (text[i] != start[i]) return false;
    }
    return true;
}

std::string_view trimmed(std::string_view text);

// How a table's cells are separated ('\0' for runs of white space) and what marks the decimals.
struct TableFormat {
    char separator = ',';
    char decimalMark = '.';
};

// The separator and the decimal mark that the lines holding numbers use; comment lines (#, ;,
// %, !) and lines of text are passed over. A decimal comma needs a separator other than the
// comma, and numbers with no full stop.
TableFormat tableFormatOf(std::string_view text);

// The cells of a line, white space around each trimmed and a quoted cell's quotes taken off;
// a separator inside quotes belongs to the cell.
void splitCells(std::string_view line, char separator, std::vector<std::string_view>& cells);

// The number a cell holds, all of it: an optional sign, digits with the decimal mark, an
// optional exponent ("-42,863144", "+1.00000000000E+001", "1e-3"); nothing for any other text.
std::optional<double> numberIn(std::string_view cell, char decimalMark);

// Whether a line is a comment of a table: it starts with #, ;, % or !.
bool isCommentLine(std::string_view line);

}  // namespace csv2pnp
