// Reads the CSV of Keysight network and signal source analyzers, in both of its layouts.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "problems/problem.h"
#include "traces/trace.h"

namespace csv2pnp {

// It starts with "!CSV" or with "# Channel" (quoted or not).
bool isKeysightCsv(std::string_view bytes);

// "!CSV A.01.01", more "!" lines, then blocks "BEGIN <name>", a header row
// "Freq(Hz),<trace>(dBc/Hz)[,...]", the rows and "END": each dBc/Hz column of each block a trace
// "<file> <block> <trace>". Or the older layout: "# Channel n", "# Trace m", a header
// "Frequency, Formatted Data" and rows of numbers separated by a comma and spaces: a trace
// "<file> channel n trace m" per "# Trace" line.
Result<std::vector<Trace>> readKeysightCsv(std::string_view bytes, const std::string& source);

}  // namespace csv2pnp
