// Reads the phase-noise trace export of Rohde & Schwarz analyzers (FSWP, FSPN, FSW with its
// phase-noise option): their ASCII file export, in the forms the instruments write.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "problems/problem.h"
#include "traces/trace.h"

namespace csv2pnp {

// Its first line is "Type" and the model, separated by a semicolon, a tab or a space, with or
// without a '%' before it.
bool isRohdeSchwarzExport(std::string_view bytes);

// A header of "key;value;unit" lines, the carrier in "Signal Frequency"; then per trace a block
// "Trace;<n>;", optionally "Trace Mode;BLANK;" (a trace not shown, skipped), "Trace Result;PN;"
// (or AM, amplitude noise), "x-Unit;Hz;", "y-Unit;dBc/Hz;", "Values;<N>;" and exactly N lines
// "offset;level;". The fields may be separated by tabs instead, and in the form for numerical
// tools every header line starts with '%' and may separate its fields by spaces, as its rows do
// ("1.0000000000 -82.4341049194 "). Numbers may have a decimal comma. A window "Integrated
// Measurements" gives the instrument's own integrated figures per range and trace, kept with
// the trace with whether the instrument smoothed it or removed its spurs. Each trace is
// "<file> trace <n> <result>"; a level unit other than dBc/Hz, or a spectrum mode, is refused.
// Rows and windows it does not read are warned of.
Result<std::vector<Trace>> readRohdeSchwarzExport(std::string_view bytes, const std::string& source);

}  // namespace csv2pnp
