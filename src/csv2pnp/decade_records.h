// The records that follow from the measured offsets: DRG, DCC, the first DEC, and the
// trace of DEC markers and TRA lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "csv2pnp/plot_file_writer.h"
#include "table/measurement_table.h"

namespace csv2pnp {

// Index into the decade boundaries 0.01, 0.1, ... 100000 of the lowest one that the
// value reached while the previous value stood below it; nothing when there is none.
std::optional<std::size_t> findUpwardCrossing(double value, double previous);

// Each writes its lines to the data file, then the same line to the imaginary-part file.
void writeRangeRecord(const MeasurementTable& table, PlotFileWriter& data, PlotFileWriter& imaginary);
void writeDecadeCountRecord(const MeasurementTable& table, PlotFileWriter& data, PlotFileWriter& imaginary);
void writeStartDecadeRecord(const MeasurementTable& table, PlotFileWriter& data, PlotFileWriter& imaginary);

// The data file's TRA lines carry cell 1, the imaginary-part file's cell 2; a row
// without that cell gives that file no TRA line.
void writeTraceSection(const MeasurementTable& table, std::uint32_t carrierFrequency, PlotFileWriter& data,
                       PlotFileWriter& imaginary);

}  // namespace csv2pnp
