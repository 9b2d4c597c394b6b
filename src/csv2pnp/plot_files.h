// Writes the data file and the imaginary-part file of one input, first line to last.
#pragma once

#include <cstdint>
#include <string>

#include "platform/host.h"
#include "csv2pnp/plot_file_writer.h"
#include "plot_format/plot_format.h"
#include "table/measurement_table.h"

namespace csv2pnp {

// Both files are written in one pass, each record group to the data file and then to
// the imaginary-part file. The end time is read from the host's clock after the trace.
void writePlotFiles(PlotFileWriter& data, PlotFileWriter& imaginary, const MeasurementTable& table,
                    const PlotFileNames& names, std::uint32_t carrierFrequency, const UtcTime& conversionTime,
                    const Host& host);

}  // namespace csv2pnp
