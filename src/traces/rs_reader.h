// Reads the phase-noise trace export of Rohde & Schwarz analyzers (FSWP, FSPN, FSW with its
// phase-noise option): their ASCII file export.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "problems/problem.h"
#include "traces/trace.h"

namespace csv2pnp {

// Its first line is "Type;<model>;".
bool isRohdeSchwarzExport(std::string_view bytes);

// A header of "key;value;unit" lines, the carrier in "Signal Frequency"; then per trace a block
// "Trace;<n>;", optionally "Trace Result;PN;" (or AM, amplitude noise), "x-Unit;Hz;",
// "y-Unit;dBc/Hz;", "Values;<N>;" and exactly N lines "offset;level;". Numbers may have a
// decimal comma. Each trace is "<file> trace <n> <result>".
Result<std::vector<Trace>> readRohdeSchwarzExport(std::string_view bytes, const std::string& source);

}  // namespace csv2pnp
