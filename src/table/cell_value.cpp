#include "table/cell_value.h"

#include <charconv>
#include <cstdlib>
#include <string>
#include <system_error>

namespace csv2pnp {

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A plain decimal number such as 1000, -120.5 or 1.5e3 reads the same with from_chars,
// which is several times faster than strtod; hexadecimal, a leading '+' or white space,
// inf, nan and values out of range are left to strtod.
bool readPlainDecimal(std::string_view cell, double& value) {
    std::size_t at = !cell.empty() && cell[0] == '-' ? 1 : 0;
    if (at >= cell.size()) return false;
    bool digitFirst = isDigit(cell[at]);
    if (!digitFirst && !(cell[at] == '.' && at + 1 < cell.size() && isDigit(cell[at + 1]))) return false;
    if (cell[at] == '0' && at + 1 < cell.size() && (cell[at + 1] == 'x' || cell[at + 1] == 'X')) return false;
    auto [end, error] = std::from_chars(cell.data(), cell.data() + cell.size(), value);
    return error == std::errc() && end != cell.data();
}

}  // namespace

double cellValue(std::string_view cell) {
    double value = 0;
    if (readPlainDecimal(cell, value)) return value;
    // strtod needs a terminated string and a cell is a view into the whole input.
    constexpr std::size_t shortCell = 64;
    if (cell.size() < shortCell) {
        char buffer[shortCell];
        cell.copy(buffer, cell.size());
        buffer[cell.size()] = '\0';
        return std::strtod(buffer, nullptr);
    }
    return std::strtod(std::string(cell).c_str(), nullptr);
}

}  // namespace csv2pnp
