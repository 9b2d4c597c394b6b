// Reads tables of numbers that name no instrument: a CSV whose header row names the units,
// and numbers in two or three columns without one, in either locale.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "problems/problem.h"
#include "traces/pn2060_reader.h"
#include "traces/trace.h"

namespace csv2pnp {

// Before the first row that starts with a number, a row of text cells, one naming the offsets'
// unit (Hz, kHz, MHz or GHz) and another a level's: dBc/Hz, or another unit in brackets.
bool hasUnitHeader(std::string_view bytes);

// The lines such a table explains: its metadata lines, header rows and section names, and the
// rows whose offset cell holds a number; 0 without a unit header.
std::size_t unitHeaderLines(std::string_view bytes);

// Optional "key",value lines, then the header row: the offsets are the column naming Hz (its
// values scaled by kHz, MHz or GHz), each column naming dBc/Hz a trace called by its header,
// and a column whose name says floor (Floor, Noise floor, Sensitivity) the analyzer's floor,
// with or without a unit. Columns naming another unit, or none, are warned of and not read; a
// header whose only levels are in another unit is refused naming it, unless columns chooses.
// A line that is text alone after the rows (such as "Reference trace") starts a section of its
// own, with a header row of its own or the one before; its traces are named after it. A
// metadata line whose key names the carrier gives it.
Result<std::vector<Trace>> readUnitHeaderTable(std::string_view bytes, const std::string& source,
                                               std::optional<ColumnChoice> columns);

// The lines numbers in columns explain: comment lines and rows of two or more numbers.
std::size_t numberColumnLines(std::string_view bytes);

// Headerless numbers in two or three columns, separated by commas, semicolons, tabs or runs of
// spaces, a decimal comma where the separator is not a comma; comment lines start with #, ;, %
// or !, and one naming an amplitude unit other than dBc/Hz is warned of. The second column is
// the phase noise, a third the floor; further columns are warned of.
Result<std::vector<Trace>> readNumberColumns(std::string_view bytes, const std::string& source,
                                             std::optional<ColumnChoice> columns);

}  // namespace csv2pnp
