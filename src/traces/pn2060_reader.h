// Reads a PN2060 CSV export, by csv2pnp's own rules and cell values, or numbers in columns
// separated by commas.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "problems/problem.h"
#include "traces/trace.h"

namespace csv2pnp {

// Which columns (from 0) hold the offset, the phase noise and, if any, the floor.
struct ColumnChoice {
    std::size_t offset = 0;
    std::size_t noise = 1;
    std::optional<std::size_t> floor = 2;
};

// The comment lines (#, ;, %, !) and the rows whose first cell holds a number, as csv2pnp
// reads a cell: the lines such an export explains.
std::size_t pn2060Rows(std::string_view bytes);

// Cell 1 (or the noise column chosen) makes "<name> phase noise", cell 2 (or the floor column)
// "<name> floor", from every row whose offset cell holds a number; a row without the level
// cell is left out of that trace. Comment lines are passed over, one naming an amplitude unit
// other than dBc/Hz warned of; rows without an offset, level cells without a number and
// cells beyond the third are warned of. Anything but three columns is "numbers separated by
// commas", not a PN2060 export.
Result<std::vector<Trace>> readPn2060Export(std::string bytes, const std::string& source,
                                            std::optional<ColumnChoice> columns);

}  // namespace csv2pnp
