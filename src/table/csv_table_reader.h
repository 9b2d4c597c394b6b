// Reads an analyzer export into a MeasurementTable.
#pragma once

#include <optional>
#include <ostream>
#include <string>

#include "table/measurement_table.h"

namespace csv2pnp {

// Applies the text-mode reading rules (CR LF reads as LF, Ctrl-Z ends the input) and
// cuts the result into lines at LF, the last one dropped when empty.
MeasurementTable parseMeasurementTable(std::string bytes);

// Reads the file at path; nothing when it does not open as a regular file. On success
// writes "Read file = <path> (<rows> rows)" to console.
std::optional<MeasurementTable> readMeasurementTable(const std::string& path, std::ostream& console);

}  // namespace csv2pnp
