#include "table/cell_value.h"

#include <cstdlib>
#include <string>

namespace csv2pnp {

double cellValue(std::string_view cell) {
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
