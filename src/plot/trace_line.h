// Formats the "   TRA" lines of the trace.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "plot/fixed_three.h"

namespace csv2pnp {

// Room for the longest line: a 20-digit number and two values of the longest fixed form.
using TraceLineBuffer = std::array<char, 40 + 2 * fixedThreeMaxLength>;

// "   TRA <number>: <frequency> Hz, <level> dBc", both values as "%.3f" prints them.
std::string_view formatTraceLine(TraceLineBuffer& buffer, std::size_t number, double frequency, double level);

}  // namespace csv2pnp
