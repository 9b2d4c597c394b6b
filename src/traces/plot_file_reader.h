// Reads a composite-noise plot file, as csv2pnp writes it.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "problems/problem.h"
#include "traces/trace.h"

namespace csv2pnp {

// A plot file starts with a comment, a record or a TRA line, and holds a record or a TRA line.
bool isPlotFile(std::string_view bytes);

// Every "   TRA n: F Hz, L dBc" line is a point at offset F minus the CAR record's carrier
// (at F without one). Lines end at CR LF, LF or a lone CR. A TRA line that does not parse
// makes the whole file a problem naming its line. An imaginary-part file's trace is the floor
// "<measurement> floor", as an export's is.
Result<std::vector<Trace>> readPlotFile(std::string_view bytes, const std::string& source);

}  // namespace csv2pnp
