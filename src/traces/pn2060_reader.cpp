#include "traces/pn2060_reader.h"

#include "table/cell_value.h"
#include "table/csv_table_reader.h"
#include "traces/read_warnings.h"
#include "traces/text_table.h"
#include "traces/trace.h"

namespace csv2pnp {

namespace {

// What a comma-separated file that is not a PN2060 export's three columns is.
constexpr const char* commaNumbers = "numbers separated by commas";

}  // namespace

std::size_t pn2060Rows(std::string_view bytes) {
    std::size_t rows = 0;
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        rows += isCommentLine(*line) || cellNumber(line->substr(0, line->find(','))).has_value();
    }
    return rows;
}

Result<std::vector<Trace>> readPn2060Export(std::string bytes, const std::string& source,
                                            std::optional<ColumnChoice> columns) {
    MeasurementTable table = parseMeasurementTable(std::move(bytes));
    std::vector<Trace> traces{namedTrace(source, "pn2060", "phase noise"), namedTrace(source, "pn2060", "floor")};
    traces[1].floor = true;
    for (Trace& trace : traces) trace.points.reserve(rowCount(table));
    std::size_t rowsWithCells = 0, singleCellRows = 0;
    LeftOutLines noOffset, noLevel, moreCells;
    std::vector<Warning> warnings;
    for (std::size_t r = 0; r < rowCount(table); ++r) {
        MeasurementRow row = rowAt(table, r);
        if (!row.line.empty() && isCommentLine(row.line)) {
            warnOfAmplitudeUnit(row.line, r + 1, source, warnings);
            continue;
        }
        if (!row.line.empty()) {
            ++rowsWithCells;
            if (cellCount(row) == 1) ++singleCellRows;
        }
        if (columns) {
            // The columns chosen, each looked up on its own.
            std::optional<std::string_view> offsetCell = cellAt(row, columns->offset);
            std::optional<double> offset = offsetCell ? cellNumber(*offsetCell) : std::nullopt;
            if (!offset) {
                if (!row.line.empty()) noOffset.add(r + 1, row.line);
                continue;
            }
            std::optional<std::size_t> levels[] = {columns->noise, columns->floor};
            for (std::size_t k = 0; k < 2; ++k) {
                std::optional<std::string_view> cell = levels[k] ? cellAt(row, *levels[k]) : std::nullopt;
                if (std::optional<double> level = cell ? cellNumber(*cell) : std::nullopt) {
                    traces[k].points.push_back(TracePoint{*offset, *level});
                } else if (cell) {
                    noLevel.add(r + 1, row.line);
                }
            }
            continue;
        }
        CellCursor cells = cellsOf(row);
        std::optional<std::string_view> offsetCell = nextCell(cells);
        std::optional<double> offset = offsetCell ? cellNumber(*offsetCell) : std::nullopt;
        if (!offset) {
            if (!row.line.empty()) noOffset.add(r + 1, row.line);
            continue;
        }
        bool allCells = true;
        for (Trace& trace : traces) {
            std::optional<std::string_view> levelCell = nextCell(cells);
            if (!levelCell) {
                allCells = false;
                break;
            }
            if (std::optional<double> level = cellNumber(*levelCell)) {
                trace.points.push_back(TracePoint{*offset, *level});
            } else {
                noLevel.add(r + 1, row.line);
            }
        }
        if (allCells && nextCell(cells)) moreCells.add(r + 1, row.line);
    }
    const bool threeColumns = !traces[1].points.empty() && moreCells.count == 0 && !columns;
    if (!threeColumns) {
        for (Trace& trace : traces) trace.layoutTitle = commaNumbers;
    }
    Result<std::vector<Trace>> input = settledTraces(std::move(traces), source);
    input.warnings.insert(input.warnings.begin(), warnings.begin(), warnings.end());
    if (singleCellRows * 2 > rowsWithCells) {
        input.warnings.push_back({source, 0,
                                  "most rows hold a single cell: pnpplot reads comma-separated exports, and this "
                                  "one seems to be separated by something else (semicolons, tabs)"});
    } else {
        warnOfLeftOut(input.warnings, source, noOffset, noOffsetInRow);
        warnOfLeftOut(input.warnings, source, noLevel, noLevelInCell);
        warnOfLeftOut(input.warnings, source, moreCells, cellsBeyondRead);
    }
    return input;
}

}  // namespace csv2pnp
