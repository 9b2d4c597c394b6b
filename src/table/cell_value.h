// The number in a cell, as glibc's atof reads it in the "C" locale, on every host.
#pragma once

#include <optional>
#include <string_view>

namespace csv2pnp {

// Leading white space skipped, an optional sign, then the longest leading number (decimal,
// exponent, hexadecimal with or without a binary exponent, inf, infinity, nan, nan(...));
// ±inf beyond the doubles, ±0 below them, +0 when there is no number. Reads nothing beyond
// the cell and nothing of the host's C library, so every build gives the same double.
double cellValue(std::string_view cell);

// The same number, or nothing when the cell holds none (where cellValue gives 0).
std::optional<double> cellNumber(std::string_view cell);

}  // namespace csv2pnp
