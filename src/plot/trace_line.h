// Formats one "   TRA" line of the trace.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace csv2pnp {

// Room for the longest line: two fixed-point doubles of up to 309 integer digits each.
struct TraceLineText {
    std::array<char, 720> bytes;
};

// "   TRA <number>: <frequency> Hz, <level> dBc", both doubles as %.3f prints them.
std::string_view formatTraceLine(TraceLineText& out, std::size_t number, double frequency, double level);

}  // namespace csv2pnp
