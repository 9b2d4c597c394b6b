#include "csv2pnp/decade_records.h"

#include <array>
#include <string>
#include <string_view>

#include "plot_format/plot_format.h"
#include "csv2pnp/trace_line.h"
#include "table/cell_value.h"

namespace csv2pnp {

namespace {

using plotformat::decadeBoundaries;
using plotformat::StartBand;

constexpr double lowestBoundary = decadeBoundaries[0].value;

std::optional<StartBand> startBandOf(const MeasurementTable& table) {
    if (rowCount(table) == 0) return std::nullopt;
    std::optional<std::string_view> first = cellAt(rowAt(table, 0), 0);
    if (!first) return std::nullopt;
    double x = cellValue(*first);
    for (const StartBand& band : plotformat::startBands) {
        if (x < band.below) return band;
    }
    return std::nullopt;
}

// The values of a row's first three cells, converted once: the crossing tests of this row
// and the next one and the TRA lines all read them. Only cells after those are walked again.
struct RowHead {
    std::array<double, 3> values;
    std::size_t count;
    CellCursor rest;
};

RowHead headOf(MeasurementRow row) {
    RowHead head{{}, 0, cellsOf(row)};
    head.count = nextCellValues(head.rest, head.values.data(), head.values.size());
    return head;
}

// Calls visit(k, crossing) for each cell k of the row in order, with the boundary it crossed
// upward from the same cell of the previous row; a cell that row lacks crosses nothing. Stops
// when visit returns false.
template <typename Visit>
void scanCells(const RowHead& head, const RowHead* previous, Visit visit) {
    for (std::size_t k = 0; k < head.count; ++k) {
        std::optional<std::size_t> crossing;
        if (previous && k < previous->count) crossing = findUpwardCrossing(head.values[k], previous->values[k]);
        if (!visit(k, crossing)) return;
    }
    if (head.rest.done) return;  // the common row of three cells
    CellCursor current = head.rest;
    CellCursor beside = previous ? previous->rest : CellCursor{{}, true};
    for (std::size_t k = head.count; std::optional<std::string_view> cell = nextCell(current); ++k) {
        std::optional<std::string_view> before = nextCell(beside);
        double value = cellValue(*cell);
        std::optional<std::size_t> crossing;
        // Below the lowest boundary nothing is crossed, so the previous cell need not be read.
        if (before && value >= lowestBoundary) crossing = findUpwardCrossing(value, cellValue(*before));
        if (!visit(k, crossing)) return;
    }
}

void writeTraceLines(const RowHead& head, std::size_t number, std::uint32_t carrierFrequency, TraceLineFormatter& lines,
                     PlotFileWriter& data, PlotFileWriter& imaginary) {
    if (head.count < 2) return;
    lines.start(number, head.values[0] + static_cast<double>(carrierFrequency));
    writeEndedLine(data, lines.withLevel(head.values[1]));
    if (head.count > 2) writeEndedLine(imaginary, lines.withLevel(head.values[2]));
}

}  // namespace

std::optional<std::size_t> findUpwardCrossing(double value, double previous) {
    // The boundaries rise, so once the value stays below one it reaches none above it;
    // a NaN on either side crosses nothing.
    for (std::size_t i = 0; i < std::size(decadeBoundaries); ++i) {
        double boundary = decadeBoundaries[i].value;
        if (!(value >= boundary)) return std::nullopt;
        if (previous < boundary) return i;
    }
    return std::nullopt;
}

void writeRangeRecord(const MeasurementTable& table, PlotFileWriter& data, PlotFileWriter& imaginary) {
    if (std::optional<StartBand> band = startBandOf(table)) writeBoth(data, imaginary, {band->rangeRecord});
}

void writeStartDecadeRecord(const MeasurementTable& table, PlotFileWriter& data, PlotFileWriter& imaginary) {
    if (std::optional<StartBand> band = startBandOf(table)) writeBoth(data, imaginary, {band->firstDecade});
}

void writeDecadeCountRecord(const MeasurementTable& table, PlotFileWriter& data, PlotFileWriter& imaginary) {
    // Counts the rows from the first boundary reached up to the row that reaches the
    // next one; reaching 0.01 again starts the count afresh.
    if (rowCount(table) < 2) return;
    std::optional<std::size_t> countStart;
    bool written = false;
    RowHead previousHead = headOf(rowAt(table, 0));
    for (std::size_t i = 1; i < rowCount(table) && !written; ++i) {
        RowHead head = headOf(rowAt(table, i));
        scanCells(head, &previousHead, [&](std::size_t, std::optional<std::size_t> crossing) {
            if (!crossing) return true;
            if (*crossing == 0 || !countStart) {
                countStart = i;
                return true;
            }
            writeBoth(data, imaginary, {std::string(plotformat::decadeCountRecord) + std::to_string(i - *countStart)});
            written = true;
            return false;
        });
        previousHead = head;
    }
}

void writeTraceSection(const MeasurementTable& table, std::uint32_t carrierFrequency, PlotFileWriter& data,
                       PlotFileWriter& imaginary) {
    std::optional<std::size_t> segmentStart;
    TraceLineFormatter lines;
    RowHead previousHead{};
    for (std::size_t j = 0; j < rowCount(table); ++j) {
        RowHead head = headOf(rowAt(table, j));
        scanCells(head, j > 0 ? &previousHead : nullptr, [&](std::size_t k, std::optional<std::size_t> crossing) {
            if (crossing) {
                writeBoth(data, imaginary, {decadeBoundaries[*crossing].marker});
                writeBoth(data, imaginary, {plotformat::noiseCorrectionRecord});
                segmentStart = j;
            }
            if (k == 0 && segmentStart)
                writeTraceLines(head, j - *segmentStart, carrierFrequency, lines, data, imaginary);
            return true;
        });
        previousHead = head;
    }
}

}  // namespace csv2pnp
