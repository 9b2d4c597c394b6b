// The number in a cell, as C's atof reads it in the "C" locale.
#pragma once

#include <string_view>

namespace csv2pnp {

// Leading white space skipped, the longest leading number (decimal, exponent, hexadecimal,
// inf, nan) taken, 0 when there is none. Reads nothing beyond the cell.
double cellValue(std::string_view cell);

}  // namespace csv2pnp
