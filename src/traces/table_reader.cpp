#include "traces/table_reader.h"

#include <cctype>

#include "text/utf8_text.h"
#include "traces/trace.h"
#include "traces/text_table.h"

namespace csv2pnp {

namespace {

bool containsWord(std::string_view text, std::string_view word) {
    for (std::size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1)) {
        bool before = at == 0 || !std::isalnum(static_cast<unsigned char>(text[at - 1]));
        std::size_t after = at + word.size();
        bool behind = after == text.size() || !std::isalnum(static_cast<unsigned char>(text[after]));
        if (before && behind) return true;
    }
    return false;
}

bool namesLevels(std::string_view cell) { return cell.find("dBc/Hz") != std::string_view::npos; }

// The factor to hertz of a header cell that names a frequency unit, as a word of its own.
std::optional<double> hertzNamedIn(std::string_view cell) {
    if (namesLevels(cell)) return std::nullopt;
    for (const auto& [unit, factor] :
         {std::pair<std::string_view, double>{"Hz", 1}, {"kHz", 1e3}, {"MHz", 1e6}, {"GHz", 1e9}}) {
        if (containsWord(cell, unit)) return factor;
    }
    return std::nullopt;
}

bool startsWithNumber(std::string_view cell, char decimalMark) { return numberIn(cell, decimalMark).has_value(); }

std::string cellsCount(std::size_t n) { return std::to_string(n) + (n == 1 ? " cell" : " cells"); }

std::string separatorWords(const TableFormat& format) {
    std::string words = format.separator == ';'    ? "semicolons"
                        : format.separator == '\t' ? "tabs"
                        : format.separator == ','  ? "commas"
                                                   : "spaces";
    return words + (format.decimalMark == ',' ? ", with decimal commas" : "");
}

// The table's header: where the offsets stand and which columns hold levels, with their names.
struct Header {
    std::size_t offset = 0;
    double offsetScale = 1;
    std::vector<std::size_t> levels;
    std::vector<std::string> names;
    std::size_t cells = 0;
};

std::optional<Header> headerOf(const std::vector<std::string_view>& cells) {
    Header header;
    header.cells = cells.size();
    std::optional<std::size_t> offset;
    for (std::size_t c = 0; c < cells.size(); ++c) {
        if (namesLevels(cells[c])) {
            header.levels.push_back(c);
            header.names.emplace_back(cells[c]);
        } else if (std::optional<double> scale = hertzNamedIn(cells[c]); scale && !offset) {
            offset = c;
            header.offsetScale = *scale;
        }
    }
    if (!offset || header.levels.empty()) return std::nullopt;
    header.offset = *offset;
    return header;
}

bool isTextLine(const std::vector<std::string_view>& cells, char decimalMark) {
    for (std::string_view cell : cells) {
        if (startsWithNumber(cell, decimalMark)) return false;
    }
    return true;
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

}  // namespace

bool hasUnitHeader(std::string_view bytes) {
    TableFormat format = tableFormatOf(bytes);
    std::vector<std::string_view> cells;
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        if (trimmed(*line).empty()) continue;
        splitCells(*line, format.separator, cells);
        if (headerOf(cells)) return true;
        if (!isTextLine(cells, format.decimalMark) && cells.size() > 1 && !carrierIn(cells, format.decimalMark)) {
            return false;  // numbers came first
        }
        if (walk.number > 100) return false;
    }
    return false;
}

Result<std::vector<Trace>> readUnitHeaderTable(std::string_view bytes, const std::string& source,
                                               std::optional<ColumnChoice> columns) {
    const TableFormat format = tableFormatOf(bytes);
    std::vector<Trace> traces;
    std::optional<double> carrier;
    std::optional<Header> header;
    std::string section;
    std::size_t firstOfSection = 0;
    bool rowsSeen = false;
    std::vector<std::string_view> cells;
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        if (trimmed(*line).empty()) continue;
        splitCells(*line, format.separator, cells);
        if (isTextLine(cells, format.decimalMark)) {
            if (std::optional<Header> found = headerOf(cells)) {
                header = found;
                if (columns) {
                    header->offset = columns->offset;
                    header->levels = {columns->noise};
                    header->names = {header->names.front()};
                }
                firstOfSection = traces.size();
                for (const std::string& name : header->names) {
                    traces.push_back(namedTrace(source, "header", section.empty() ? name : section + ": " + name));
                    traces.back().layoutNote = "cells separated by " + separatorWords(format);
                }
                rowsSeen = false;
            } else if (rowsSeen || header) {
                // Text after rows starts a section of its own, such as a reference trace.
                section = std::string(cells.front());
                header.reset();
            }
            continue;
        }
        if (!header) {
            if (std::optional<double> value = carrierIn(cells, format.decimalMark)) carrier = value;
            continue;  // "key",value lines before the header
        }
        if (cells.size() != header->cells && !columns) {
            return invalidContent(source, walk.number,
                                  cellsCount(cells.size()) + ", the header has " + std::to_string(header->cells));
        }
        rowsSeen = true;
        std::optional<double> offset =
            header->offset < cells.size() ? numberIn(cells[header->offset], format.decimalMark) : std::nullopt;
        if (!offset) continue;
        for (std::size_t k = 0; k < header->levels.size(); ++k) {
            if (header->levels[k] >= cells.size()) continue;
            if (std::optional<double> level = numberIn(cells[header->levels[k]], format.decimalMark)) {
                traces[firstOfSection + k].points.push_back({*offset * header->offsetScale, *level});
            }
        }
    }
    for (Trace& trace : traces) trace.carrier = carrier;
    return settledTraces(std::move(traces), source);
}

Result<std::vector<Trace>> readNumberColumns(std::string_view bytes, const std::string& source,
                                             std::optional<ColumnChoice> columns) {
    const TableFormat format = tableFormatOf(bytes);
    std::vector<Trace> traces{namedTrace(source, "columns", "phase noise"), namedTrace(source, "columns", "floor")};
    traces[1].floor = true;
    const ColumnChoice choice = columns.value_or(ColumnChoice{});
    std::size_t width = 0;
    std::vector<std::string_view> cells;
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        if (trimmed(*line).empty() || isCommentLine(*line)) continue;
        splitCells(*line, format.separator, cells);
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
            }
        }
    }
    std::string note = "separated by " + separatorWords(format);
    traces[0].layoutNote = note;
    traces[1].layoutNote = note + "; the third column taken as the analyzer's floor";
    return settledTraces(std::move(traces), source);
}

}  // namespace csv2pnp
