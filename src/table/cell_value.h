// The number in a cell, as glibc's atof reads it in the "C" locale, on every host.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>

#include "table/measurement_table.h"

namespace csv2pnp {

// Leading white space skipped, an optional sign, then the longest leading number (decimal,
// exponent, hexadecimal with or without a binary exponent, inf, infinity, nan, nan(...));
// ±inf beyond the doubles, ±0 below them, +0 when there is no number. Reads nothing beyond
// the cell and nothing of the host's C library, so every build gives the same double.
double cellValue(std::string_view cell);

// The same number, or nothing when the cell holds none (where cellValue gives 0).
std::optional<double> cellNumber(std::string_view cell);

// Reads up to count cells of a row into values, stepping over each as nextCell does and
// giving its value as cellValue would; returns how many there were. Each cell's end is
// found while its number is read.
std::size_t nextCellValues(CellCursor& cursor, double* values, std::size_t count);

// The same as cellNumber, every number read by std::from_chars: the reference that the
// shortcut below is held to.
std::optional<double> cellNumberByFromChars(std::string_view cell);

// The plain decimal at the front of text (no white space or sign before it), when its
// digits are at most 15, leading zeros included, and its power of ten lies within 10^-22
// to 10^22 once the point is moved behind the last digit: then the digits as an integer
// and the power are both exact doubles, and one multiplication or division, rounded as
// every IEEE operation is, gives the correctly rounded value. Nothing for any other text;
// cellNumber reads those with std::from_chars. With length, tells how much of text it read.
std::optional<double> shortDecimal(std::string_view text, std::size_t* length = nullptr);

}  // namespace csv2pnp
