// Reads tables of numbers that name no instrument: a CSV whose header row names the units,
// and numbers in two or three columns without one, in either locale.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "problems/problem.h"
#include "traces/pn2060_reader.h"
#include "traces/trace.h"

namespace csv2pnp {

// A row of text cells, one of them naming Hz (or kHz, MHz, GHz) and another dBc/Hz, before any
// row of numbers.
bool hasUnitHeader(std::string_view bytes);

// Optional "key",value lines, then the header row: the offsets are the column naming Hz (its
// values scaled by kHz, MHz or GHz), and each column naming dBc/Hz a trace called by its header.
// A line that is text alone after the rows (such as "Reference trace") starts a section of its
// own, with a header row of its own; its traces are named after it. A metadata line whose key
// names the carrier gives it.
Result<std::vector<Trace>> readUnitHeaderTable(std::string_view bytes, const std::string& source,
                                               std::optional<ColumnChoice> columns);

// Headerless numbers in two or three columns, separated by commas, semicolons, tabs or runs of
// spaces, a decimal comma where the separator is not a comma; comment lines start with #, ;, %
// or !. The second column is the phase noise, a third the floor.
Result<std::vector<Trace>> readNumberColumns(std::string_view bytes, const std::string& source,
                                             std::optional<ColumnChoice> columns);

}  // namespace csv2pnp
