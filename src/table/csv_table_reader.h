// Reads an analyzer export into a MeasurementTable.
#pragma once

#include <string>

#include "files/input_bytes.h"
#include "table/measurement_table.h"

namespace csv2pnp {

// Applies the text-mode reading rules (CR LF reads as LF, Ctrl-Z ends the input) and
// cuts the result into lines at LF, the last one dropped when empty.
MeasurementTable parseMeasurementTable(std::string bytes);

// Reads whatever the path opens as, a file, pipe or device, to its end. A read error
// part-way gives no table, never a short one.
Result<MeasurementTable> readMeasurementTable(const std::string& path, const Host& host);

}  // namespace csv2pnp
