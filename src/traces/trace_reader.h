// Reads the traces of one input: a plot file or an analyzer export, told apart by content.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "problems/problem.h"
#include "traces/trace.h"

namespace csv2pnp {

// A plot file starts with a comment, a record or a TRA line; anything else is an export.
bool isPlotFile(std::string_view bytes);

// Every "   TRA n: F Hz, L dBc" line is a point at offset F minus the CAR record's carrier
// (at F without one). Lines end at CR LF, LF or a lone CR. A TRA line that does not parse
// makes the whole file a problem naming its line. An imaginary-part file's trace is the floor
// "<measurement> floor", as an export's is.
Result<std::vector<Trace>> readPlotFile(std::string_view bytes, const std::string& source);

// Cell 1 makes "<name> phase noise", cell 2 "<name> floor", from every row whose cell 0
// holds a number; a row without the level cell, or without a number in it, is left out of
// that trace.
Result<std::vector<Trace>> readCsvExport(std::string bytes, const std::string& source);

// Either of the above, a byte-order mark at the start left out. The traces each have at
// least one point, settled; the warnings name a trace that is almost certainly not what an
// analyzer measured: most levels above 0 dBc/Hz (decimal commas), most rows with a single
// cell (another separator), points at repeated offsets.
Result<std::vector<Trace>> readTraces(std::string bytes, const std::string& source);

}  // namespace csv2pnp
