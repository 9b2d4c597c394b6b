// Reads the traces of one input: a plot file or an analyzer export, told apart by content.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "traces/trace.h"

namespace csv2pnp {

struct InputTraces {
    std::vector<Trace> traces;  // each with at least one point; settled
    std::string error;          // what went wrong, empty when the input was read
};

// A plot file starts with a comment, a record or a TRA line; anything else is an export.
bool isPlotFile(std::string_view bytes);

// Every "   TRA n: F Hz, L dBc" line is a point at offset F minus the CAR record's carrier.
// A TRA line that does not parse makes the whole file an error naming its line.
InputTraces readPlotFile(std::string_view bytes, const std::string& source);

// Cell 1 makes "<name> phase noise", cell 2 "<name> floor", from every row whose cell 0
// holds a number; a row without the level cell, or without a number in it, is left out of
// that trace.
InputTraces readCsvExport(std::string bytes, const std::string& source);

InputTraces readTraces(std::string bytes, const std::string& source);

}  // namespace csv2pnp
