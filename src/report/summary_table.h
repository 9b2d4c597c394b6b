// The figures of every trace as a CSV table for a spreadsheet, a row a trace and band.
#pragma once

#include <string>
#include <vector>

#include "analysis/trace_analysis.h"

namespace csv2pnp {

// The header row of the table.
extern const char* const summaryTableHeader;

// RFC 4180: the header, then a row a trace and band (-r given again adds a row a trace) in
// the order of the analyses, fields separated by
// commas and quoted where they hold a comma, a quote or a line break, rows ended by CR LF.
// Numbers in the shortest form that reads back to the same double; a cell is empty where the
// figure does not apply (a floor's spurs and mask), was not asked for (the mask) or is beyond
// a double. The last column names how the band's figures took the spurs.
std::string summaryTable(const std::vector<TraceAnalysis>& analyses, const std::vector<std::string>& inputPaths);

}  // namespace csv2pnp
