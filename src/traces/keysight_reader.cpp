#include "traces/keysight_reader.h"

#include <optional>
#include <set>

#include "traces/header_units.h"
#include "traces/read_warnings.h"
#include "traces/text_table.h"
#include "traces/trace.h"

namespace csv2pnp {

namespace {

constexpr const char* layoutName = "keysight";

std::string_view unquoted(std::string_view text) {
    text = trimmed(text);
    if (text.size() >= 2 && text.front() == '"' && text.back() == '"') text = trimmed(text.substr(1, text.size() - 2));
    return text;
}

// The unit in the parentheses at the end of a header cell, "Freq(Hz)": Hz, kHz, MHz or GHz as
// a factor; nothing for another unit.
std::optional<double> hertzIn(std::string_view cell) {
    for (const auto& [unit, factor] :
         {std::pair<std::string_view, double>{"(Hz)", 1}, {"(kHz)", 1e3}, {"(MHz)", 1e6}, {"(GHz)", 1e9}}) {
        if (cell.size() >= unit.size() && cell.substr(cell.size() - unit.size()) == unit) return factor;
    }
    return std::nullopt;
}

std::string cellsCount(std::size_t n) { return std::to_string(n) + (n == 1 ? " cell" : " cells"); }

// The newer layout: blocks of a header row and rows between BEGIN and END.
Result<std::vector<Trace>> readBlocks(std::string_view bytes, const std::string& source) {
    std::vector<Trace> traces;
    std::vector<std::size_t> columns;  // per trace of the block: its column
    std::set<std::string> blocks;
    std::string block;
    std::size_t headerCells = 0, firstOfBlock = 0;
    double offsetScale = 1;
    bool inBlock = false, headed = false;
    std::vector<Warning> warnings;
    std::vector<std::string_view> cells;
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        std::string_view body = trimmed(*line);
        if (body.empty() || body.front() == '!') continue;
        if (startsWith(body, "BEGIN")) {
            block = std::string(trimmed(body.substr(5)));
            blocks.insert(block);
            inBlock = true;
            headed = false;
            columns.clear();
            firstOfBlock = traces.size();
            continue;
        }
        if (body == "END") {
            inBlock = false;
            continue;
        }
        if (!inBlock) return invalidContent(source, walk.number, "a line outside BEGIN and END");
        splitCells(body, ',', cells);
        if (!headed) {
            std::optional<double> scale = hertzIn(cells.front());
            if (!scale) return invalidContent(source, walk.number, "the header's first cell is not an offset in Hz");
            offsetScale = *scale;
            headerCells = cells.size();
            std::optional<std::size_t> otherUnit;
            for (std::size_t c = 1; c < cells.size(); ++c) {
                std::string_view name = cells[c];
                std::optional<std::string_view> unit = unitInBrackets(name);
                if (!unit || !isDbcPerHz(*unit)) {
                    if (unit && !otherUnit) otherUnit = c;
                    warnings.push_back(
                        {source, walk.number, columnNotRead(c + 1, name, unit ? unitNotDbcPerHz(*unit) : namesNoUnit)});
                    continue;
                }
                traces.push_back(namedTrace(source, layoutName, block + " " + std::string(withoutUnit(name))));
                columns.push_back(c);
            }
            if (columns.empty() && otherUnit) {
                return invalidContent(
                    source, walk.number,
                    levelsInOtherUnit(*otherUnit + 1, cells[*otherUnit], *unitInBrackets(cells[*otherUnit])));
            }
            if (columns.empty()) return invalidContent(source, walk.number, "the header names no column in dBc/Hz");
            headed = true;
            continue;
        }
        if (cells.size() != headerCells) {
            return invalidContent(source, walk.number,
                                  cellsCount(cells.size()) + ", the header has " + std::to_string(headerCells));
        }
        std::optional<double> offset = numberIn(cells.front(), '.');
        if (!offset)
            return invalidContent(source, walk.number, "'" + std::string(cells.front()) + "' is not an offset");
        for (std::size_t k = 0; k < columns.size(); ++k) {
            std::optional<double> level = numberIn(cells[columns[k]], '.');
            if (!level)
                return invalidContent(source, walk.number, "'" + std::string(cells[columns[k]]) + "' is not a level");
            traces[firstOfBlock + k].points.push_back({*offset * offsetScale, *level});
        }
    }
    // One block names its traces by their columns alone.
    if (blocks.size() == 1) {
        for (Trace& trace : traces) {
            trace.part = trace.part.substr(trace.part.find(' ') + 1);
            trace.caption = trace.measurement + " " + trace.part;
        }
    }
    Result<std::vector<Trace>> result = settledTraces(std::move(traces), source);
    result.warnings.insert(result.warnings.begin(), warnings.begin(), warnings.end());
    return result;
}

// The older layout: "# Channel", "# Trace", a header, rows of two numbers.
Result<std::vector<Trace>> readChannels(std::string_view bytes, const std::string& source) {
    std::vector<Trace> traces;
    std::string channel;
    std::vector<std::string_view> cells;
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        std::string_view body = unquoted(*line);
        if (body.empty()) continue;
        if (startsWith(body, "# Channel")) {
            channel = std::string(trimmed(body.substr(9)));
            continue;
        }
        if (startsWith(body, "# Trace")) {
            traces.push_back(namedTrace(source, layoutName,
                                        "channel " + channel + " trace " + std::string(trimmed(body.substr(7)))));
            continue;
        }
        if (body.front() == '#' || startsWith(body, "Frequency")) continue;
        if (traces.empty()) return invalidContent(source, walk.number, "numbers before a \"# Trace\" line");
        splitCells(body, ',', cells);
        if (cells.size() != 2)
            return invalidContent(source, walk.number, cellsCount(cells.size()) + ", the header has 2");
        std::optional<double> offset = numberIn(cells[0], '.'), level = numberIn(cells[1], '.');
        if (!offset || !level)
            return invalidContent(source, walk.number, "'" + std::string(body) + "' is not two numbers");
        traces.back().points.push_back({*offset, *level});
    }
    return settledTraces(std::move(traces), source);
}

}  // namespace

bool isKeysightCsv(std::string_view bytes) {
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        std::string_view body = unquoted(*line);
        if (body.empty()) continue;
        return startsWith(body, "!CSV") || startsWith(body, "# Channel");
    }
    return false;
}

Result<std::vector<Trace>> readKeysightCsv(std::string_view bytes, const std::string& source) {
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        std::string_view body = unquoted(*line);
        if (body.empty()) continue;
        return startsWith(body, "!CSV") ? readBlocks(bytes, source) : readChannels(bytes, source);
    }
    return invalidContent(source, 0, noTrace);
}

}  // namespace csv2pnp
