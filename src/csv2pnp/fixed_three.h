// Prints a double as printf's "%.3f" does, without the host's C library.
#pragma once

namespace csv2pnp {

// Room needed for any value: a sign, 309 integer digits, the point and three decimals.
inline constexpr int fixedThreeMaxLength = 314;

// Writes the value with exactly three decimals, rounded to nearest with ties to even, and
// returns the end of what it wrote; nan and inf as std::to_chars spells them. The bytes
// from that end up to last may be changed too.
char* toFixedThree(char* first, char* last, double value);

}  // namespace csv2pnp
