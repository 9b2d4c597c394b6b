// Formats the "   TRA" lines of the trace.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

namespace csv2pnp {

// Room for the longest line: two fixed-point doubles of up to 309 integer digits each.
struct TraceLineText {
    std::array<char, 720> bytes;
    std::size_t startLength;  // of "   TRA <number>: <frequency> Hz, ", which both files' lines share
};

// Starts the lines of one row; the frequency prints as %.3f prints it.
void startTraceLines(TraceLineText& text, std::size_t number, double frequency);

// The row's line for one file: its start, then "<level> dBc" with the level as %.3f prints it.
std::string_view traceLineFor(TraceLineText& text, double level);

}  // namespace csv2pnp
