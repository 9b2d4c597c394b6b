#include "traces/table_reader.h"

#include "text/utf8_text.h"
#include "traces/header_units.h"
#include "traces/read_warnings.h"
#include "traces/text_table.h"
#include "traces/trace.h"

namespace csv2pnp {

namespace {

bool namesLevels(std::string_view cell) { return asciiLowerCase(cell).find("dbc/hz") != std::string::npos; }

// The factor to hertz of a header cell that names a frequency unit: in brackets at its end, or
// as a word of its own.
std::optional<double> hertzNamedIn(std::string_view cell) {
    if (namesLevels(cell)) return std::nullopt;
    if (std::optional<std::string_view> unit = unitInBrackets(cell)) return hertzPer(*unit);
    for (const auto& [unit, factor] :
         {std::pair<std::string_view, double>{"Hz", 1}, {"kHz", 1e3}, {"MHz", 1e6}, {"GHz", 1e9}}) {
        if (containsWord(cell, unit)) return factor;
    }
    return std::nullopt;
}

std::string cellsCount(std::size_t n) { return std::to_string(n) + (n == 1 ? " cell" : " cells"); }

std::string separatorWords(const TableFormat& format) {
    std::string words = format.separator == ';'    ? "semicolons"
                        : format.separator == '\t' ? "tabs"
                        : format.separator == ','  ? "commas"
                                                   : "spaces";
    return words + (format.decimalMark == ',' ? ", with decimal commas" : "");
}

// What a header cell names: the offsets, phase noise (or its floor) in dBc/Hz, levels in
// another unit, a floor with no unit, or none of these.
enum class ColumnKind { offset, level, otherUnit, floor, none };

ColumnKind kindOf(std::string_view cell) {
    if (namesLevels(cell)) return ColumnKind::level;
    if (hertzNamedIn(cell)) return ColumnKind::offset;
    if (unitInBrackets(cell)) return ColumnKind::otherUnit;
    return namesFloor(cell) ? ColumnKind::floor : ColumnKind::none;
}

// A column read as a trace.
struct LevelColumn {
    std::size_t index;
    std::string name;
    bool floor;
};

// The table's header: where the offsets stand and which columns hold levels, with their names;
// what it leaves unread, or why its levels are refused.
struct Header {
    std::size_t offset = 0;
    double offsetScale = 1;
    std::vector<LevelColumn> levels;
    std::size_t cells = 0;
    std::vector<std::string> notRead;    // warnings, one per column left out
    std::optional<std::string> refused;  // levels in another unit, and none in dBc/Hz
};

bool isTextLine(const std::vector<std::string_view>& cells, char decimalMark) {
    for (std::string_view cell : cells) {
        if (numberIn(cell, decimalMark)) return false;
    }
    return true;
}

// A row of text cells that names the offsets' unit and a level's: the columns to read, or
// those the command line chose.
std::optional<Header> headerOf(const std::vector<std::string_view>& cells, const std::optional<ColumnChoice>& choice) {
    std::optional<std::size_t> offset, otherUnit;
    bool levels = false;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        ColumnKind kind = kindOf(cells[c]);
        if (kind == ColumnKind::offset && !offset) offset = c;
        if (kind == ColumnKind::otherUnit && !otherUnit) otherUnit = c;
        levels = levels || kind == ColumnKind::level;
    }
    if (!offset || (!levels && !otherUnit)) return std::nullopt;
    Header header;
    header.cells = cells.size();
    header.offset = *offset;
    if (choice) {
        header.offset = choice->offset;
        std::optional<double> scale = choice->offset < cells.size() ? hertzNamedIn(cells[choice->offset]) : 1.0;
        header.offsetScale = scale.value_or(1);
        for (std::optional<std::size_t> column : {std::optional<std::size_t>(choice->noise), choice->floor}) {
            if (!column) continue;
            std::string_view name = *column < cells.size() ? cells[*column] : std::string_view();
            header.levels.push_back({*column, std::string(name), column == choice->floor});
            if (kindOf(name) == ColumnKind::otherUnit) {
                header.notRead.push_back(columnReadAsDbcPerHz(*column + 1, name, *unitInBrackets(name)));
            }
        }
        return header;
    }
    header.offsetScale = *hertzNamedIn(cells[*offset]);
    bool phaseNoise = false;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (c == *offset) continue;
        switch (kindOf(cells[c])) {
        case ColumnKind::level:
        case ColumnKind::floor:
            header.levels.push_back({c, std::string(cells[c]), namesFloor(cells[c])});
            phaseNoise = phaseNoise || (kindOf(cells[c]) == ColumnKind::level && !namesFloor(cells[c]));
            break;
        case ColumnKind::otherUnit:
            header.notRead.push_back(columnNotRead(c + 1, cells[c], unitNotDbcPerHz(*unitInBrackets(cells[c]))));
            break;
        case ColumnKind::offset: header.notRead.push_back(columnNotRead(c + 1, cells[c], secondOffsetColumn)); break;
        case ColumnKind::none: header.notRead.push_back(columnNotRead(c + 1, cells[c], namesNoUnit)); break;
        }
    }
    if (!phaseNoise && otherUnit) {
        header.refused = levelsInOtherUnit(*otherUnit + 1, cells[*otherUnit], *unitInBrackets(cells[*otherUnit]));
    }
    return header;
}

// A metadata line "key",value whose key names the carrier: its value in Hz (a unit in the
// key or after the value scales it).
std::optional<double> carrierIn(const std::vector<std::string_view>& cells, char decimalMark) {
    if (cells.size() < 2) return std::nullopt;
    const std::string key = asciiLowerCase(cells[0]);
    if (key.find("carrier") == std::string::npos && key.find("signal frequency") == std::string::npos) {
        return std::nullopt;
    }
    std::optional<double> value = numberIn(cells[1], decimalMark);
    if (!value) return std::nullopt;
    std::optional<double> scale = hertzNamedIn(cells[0]);
    if (!scale && cells.size() > 2) scale = hertzNamedIn(cells[2]);
    return *value * scale.value_or(1);
}

// Calls visit with the cells of each line that is not empty, while it returns true.
template <typename Visit>
void walkCells(std::string_view bytes, const TableFormat& format, Visit visit) {
    std::vector<std::string_view> cells;
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        if (trimmed(*line).empty()) continue;
        splitCells(*line, format.separator, cells);
        if (!visit(cells)) return;
    }
}

}  // namespace

bool hasUnitHeader(std::string_view bytes) {
    const TableFormat format = tableFormatOf(bytes);
    bool found = false;
    walkCells(bytes, format, [&](const std::vector<std::string_view>& cells) {
        found = isTextLine(cells, format.decimalMark) && headerOf(cells, std::nullopt).has_value();
        return !found && !numberIn(cells.front(), format.decimalMark);
    });
    return found;
}

std::size_t unitHeaderLines(std::string_view bytes) {
    if (!hasUnitHeader(bytes)) return 0;
    const TableFormat format = tableFormatOf(bytes);
    std::optional<Header> header;
    std::size_t explained = 0;
    walkCells(bytes, format, [&](const std::vector<std::string_view>& cells) {
        if (isTextLine(cells, format.decimalMark)) {
            // Metadata, a header row, the name of a section.
            if (std::optional<Header> found = headerOf(cells, std::nullopt)) header = found;
            ++explained;
        } else if (!header) {
            ++explained;  // "key",value
        } else if (header->offset < cells.size() && numberIn(cells[header->offset], format.decimalMark)) {
            ++explained;
        }
        return true;
    });
    return explained;
}

Result<std::vector<Trace>> readUnitHeaderTable(std::string_view bytes, const std::string& source,
                                               std::optional<ColumnChoice> columns) {
    const TableFormat format = tableFormatOf(bytes);
    std::vector<Trace> traces;
    std::vector<Warning> warnings;
    std::optional<double> carrier;
    std::optional<Header> header;
    std::string section;
    std::size_t firstOfSection = 0;
    bool sectionStarts = false;
    LeftOutLines beforeHeader, noOffset, noLevel;
    auto startSection = [&] {
        firstOfSection = traces.size();
        for (const LevelColumn& column : header->levels) {
            traces.push_back(
                namedTrace(source, "header", section.empty() ? column.name : section + ": " + column.name));
            traces.back().floor = column.floor;
            traces.back().layoutNote = "cells separated by " + separatorWords(format);
        }
        sectionStarts = false;
    };
    std::vector<std::string_view> cells;
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        if (trimmed(*line).empty()) continue;
        splitCells(*line, format.separator, cells);
        if (isTextLine(cells, format.decimalMark)) {
            if (std::optional<Header> found = headerOf(cells, columns)) {
                if (found->refused) return invalidContent(source, walk.number, *found->refused);
                for (const std::string& text : found->notRead) warnings.push_back({source, walk.number, text});
                header = std::move(found);
                startSection();
            } else if (header) {
                // Text after the header starts a section of its own, such as a reference trace, with
                // a header row of its own or the one before.
                section = std::string(cells.front());
                sectionStarts = true;
            } else {
                warnOfAmplitudeUnit(*line, walk.number, source, warnings);
            }
            continue;
        }
        if (!header) {
            if (numberIn(cells.front(), format.decimalMark)) beforeHeader.add(walk.number, *line);
            if (std::optional<double> value = carrierIn(cells, format.decimalMark)) carrier = value;
            continue;  // "key",value lines before the header
        }
        if (cells.size() != header->cells && !columns) {
            return invalidContent(source, walk.number,
                                  cellsCount(cells.size()) + ", the header has " + std::to_string(header->cells));
        }
        if (sectionStarts) startSection();
        std::optional<double> offset =
            header->offset < cells.size() ? numberIn(cells[header->offset], format.decimalMark) : std::nullopt;
        if (!offset) {
            noOffset.add(walk.number, *line);
            continue;
        }
        for (std::size_t k = 0; k < header->levels.size(); ++k) {
            const std::size_t column = header->levels[k].index;
            if (column >= cells.size()) continue;
            if (std::optional<double> level = numberIn(cells[column], format.decimalMark)) {
                traces[firstOfSection + k].points.push_back({*offset * header->offsetScale, *level});
            } else {
                noLevel.add(walk.number, *line);
            }
        }
    }
    warnOfLeftOut(warnings, source, beforeHeader, noOffsetInRow);
    warnOfLeftOut(warnings, source, noOffset, noOffsetInRow);
    warnOfLeftOut(warnings, source, noLevel, noLevelInCell);
    for (Trace& trace : traces) trace.carrier = carrier;
    Result<std::vector<Trace>> result = settledTraces(std::move(traces), source);
    result.warnings.insert(result.warnings.begin(), warnings.begin(), warnings.end());
    return result;
}

std::size_t numberColumnLines(std::string_view bytes) {
    const TableFormat format = tableFormatOf(bytes);
    std::size_t explained = 0;
    std::vector<std::string_view> cells;
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        if (trimmed(*line).empty()) continue;
        if (isCommentLine(*line)) {
            ++explained;
            continue;
        }
        splitCells(*line, format.separator, cells);
        explained +=
            cells.size() >= 2 && numberIn(cells[0], format.decimalMark) && numberIn(cells[1], format.decimalMark);
    }
    return explained;
}

Result<std::vector<Trace>> readNumberColumns(std::string_view bytes, const std::string& source,
                                             std::optional<ColumnChoice> columns) {
    const TableFormat format = tableFormatOf(bytes);
    std::vector<Trace> traces{namedTrace(source, "columns", "phase noise"), namedTrace(source, "columns", "floor")};
    traces[1].floor = true;
    const ColumnChoice choice = columns.value_or(ColumnChoice{});
    std::size_t width = 0;
    std::vector<Warning> warnings;
    LeftOutLines moreCells, noLevel;
    std::vector<std::string_view> cells;
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        if (trimmed(*line).empty()) continue;
        if (isCommentLine(*line)) {
            warnOfAmplitudeUnit(*line, walk.number, source, warnings);
            continue;
        }
        splitCells(*line, format.separator, cells);
        if (cells.size() > 1 && cells.back().empty()) cells.pop_back();     // after a closing separator
        if (width == 0 && isTextLine(cells, format.decimalMark)) continue;  // a header that names no unit
        if (width == 0) width = cells.size();
        if (cells.size() != width) {
            return invalidContent(source, walk.number,
                                  cellsCount(cells.size()) + ", the first row of numbers has " + std::to_string(width));
        }
        std::optional<double> offset =
            choice.offset < cells.size() ? numberIn(cells[choice.offset], format.decimalMark) : std::nullopt;
        if (!offset) {
            return invalidContent(source, walk.number,
                                  "'" + std::string(choice.offset < cells.size() ? cells[choice.offset] : "") +
                                      "' is not an offset in Hz");
        }
        std::optional<std::size_t> levels[] = {choice.noise, choice.floor};
        for (std::size_t k = 0; k < 2; ++k) {
            if (!levels[k] || *levels[k] >= cells.size()) continue;
            if (std::optional<double> level = numberIn(cells[*levels[k]], format.decimalMark)) {
                traces[k].points.push_back({*offset, *level});
            } else {
                noLevel.add(walk.number, *line);
            }
        }
        // The columns no one chose; with --columns, the user left them out.
        if (!columns && cells.size() > 3) {
            moreCells.add(walk.number, *line);
        }
    }
    warnOfLeftOut(warnings, source, noLevel, noLevelInCell);
    warnOfLeftOut(warnings, source, moreCells, cellsBeyondRead);
    std::string note = "separated by " + separatorWords(format);
    traces[0].layoutNote = note;
    traces[1].layoutNote = note + "; the third column taken as the analyzer's floor";
    Result<std::vector<Trace>> result = settledTraces(std::move(traces), source);
    result.warnings.insert(result.warnings.begin(), warnings.begin(), warnings.end());
    return result;
}

}  // namespace csv2pnp
