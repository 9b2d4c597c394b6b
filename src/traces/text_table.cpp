#include "traces/text_table.h"

#include <charconv>
#include <cstring>

#include "table/cell_value.h"

namespace csv2pnp {

namespace {

bool isSpace(char c) { return c == ' ' || c == '\t'; }

// Reads a plain decimal or scientific number that spans all of text, which holds a decimal
// point if any: the short ones exactly by one rounding, the rest by std::from_chars.
std::optional<double> plainNumber(std::string_view text) {
    bool negative = false;
    if (!text.empty() && (text.front() == '-' || text.front() == '+')) {
        negative = text.front() == '-';
        text.remove_prefix(1);
    }
    if (text.empty() || text.front() == '-' || text.front() == '+') return std::nullopt;
    std::size_t length = 0;
    if (std::optional<double> value = shortDecimal(text, &length); value && length == text.size()) {
        return negative ? -*value : *value;
    }
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (end != text.data() + text.size()) return std::nullopt;
    if (error == std::errc::result_out_of_range) value = cellValue(text);
    else if (error != std::errc()) return std::nullopt;
    return negative ? -value : value;
}

}  // namespace

std::optional<std::string_view> nextLine(LineWalk& walk) {
    if (walk.at >= walk.end) return std::nullopt;
    const auto* lf = static_cast<const char*>(std::memchr(walk.at, '\n', static_cast<std::size_t>(walk.end - walk.at)));
    const char* lineEnd = lf ? lf : walk.end;
    // A CR ends the line too, before its LF or alone.
    if (const auto* cr =
            static_cast<const char*>(std::memchr(walk.at, '\r', static_cast<std::size_t>(lineEnd - walk.at)))) {
        lineEnd = cr;
    }
    std::string_view line(walk.at, static_cast<std::size_t>(lineEnd - walk.at));
    walk.at = lineEnd;
    if (walk.at < walk.end && *walk.at == '\r') ++walk.at;
    if (walk.at < walk.end && *walk.at == '\n') ++walk.at;
    ++walk.number;
    return line;
}

std::string_view trimmed(std::string_view text) {
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

bool isCommentLine(std::string_view line) {
    line = trimmed(line);
    return !line.empty() && std::strchr("#;%!", line.front()) != nullptr;
}

void splitCells(std::string_view line, char separator, std::vector<std::string_view>& cells) {
    cells.clear();
    std::size_t at = 0;
    const bool spaces = separator == '\0';
    if (spaces) line = trimmed(line);
    while (at <= line.size()) {
        std::size_t start = at;
        bool quoted = false;
        while (at < line.size()) {
            char c = line[at];
            if (c == '"') quoted = !quoted;
            if (!quoted && (spaces ? isSpace(c) : c == separator)) break;
            ++at;
        }
        std::string_view cell = trimmed(line.substr(start, at - start));
        if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"') cell = cell.substr(1, cell.size() - 2);
        cells.push_back(cell);
        if (at >= line.size()) break;
        ++at;
        if (spaces) {
            while (at < line.size() && isSpace(line[at])) ++at;
        }
    }
}

std::optional<double> numberIn(std::string_view cell, char decimalMark) {
    cell = trimmed(cell);
    if (cell.size() >= 2 && cell.front() == '"' && cell.back() == '"') cell = trimmed(cell.substr(1, cell.size() - 2));
    if (cell.empty()) return std::nullopt;
    if (decimalMark == '.') return plainNumber(cell);
    // A decimal comma: no full stop may stand in the number; the comma becomes one.
    char copy[64];
    if (cell.size() > sizeof copy) return std::nullopt;
    for (std::size_t i = 0; i < cell.size(); ++i) {
        if (cell[i] == '.') return std::nullopt;
        copy[i] = cell[i] == ',' ? '.' : cell[i];
    }
    return plainNumber(std::string_view(copy, cell.size()));
}

TableFormat tableFormatOf(std::string_view text) {
    // The lines that start with a number, the first 50 of them; without any, every line (a
    // header alone).
    std::vector<std::string_view> sample;
    for (bool numbersOnly : {true, false}) {
        LineWalk walk = linesOf(text);
        while (std::optional<std::string_view> line = nextLine(walk)) {
            std::string_view body = trimmed(*line);
            if (body.empty() || isCommentLine(body)) continue;
            char first = body.front() == '"' && body.size() > 1 ? body[1] : body.front();
            bool number =
                (first >= '0' && first <= '9') || first == '-' || first == '+' || first == '.' || first == ',';
            if (numbersOnly && !number) continue;
            sample.push_back(body);
            if (sample.size() == 50) break;
        }
        if (!sample.empty()) break;
    }
    // The format that reads the most of those lines as two or more numbers (an empty last cell,
    // as after a closing separator, aside), in this order where they read alike.
    const TableFormat candidates[] = {{';', '.'}, {';', ','},  {'\t', '.'}, {'\t', ','},
                                      {',', '.'}, {'\0', '.'}, {'\0', ','}};
    TableFormat best{',', '.'};
    std::size_t bestCount = 0;
    std::vector<std::string_view> cells;
    for (const TableFormat& candidate : candidates) {
        std::size_t count = 0;
        for (std::string_view line : sample) {
            splitCells(line, candidate.separator, cells);
            if (!cells.empty() && cells.back().empty()) cells.pop_back();
            bool numbers = cells.size() >= 2;
            for (std::size_t c = 0; c < cells.size() && numbers; ++c)
                numbers = numberIn(cells[c], candidate.decimalMark).has_value();
            count += numbers;
        }
        if (count > bestCount) {
            best = candidate;
            bestCount = count;
        }
    }
    if (bestCount > 0) return best;
    // No line of numbers: the separator the lines hold most.
    std::size_t semicolons = 0, tabs = 0, commas = 0;
    for (std::string_view line : sample) {
        for (char c : line) {
            semicolons += c == ';';
            tabs += c == '\t';
            commas += c == ',';
        }
    }
    if (semicolons > 0 && semicolons >= commas && semicolons >= tabs) return {';', '.'};
    if (tabs > 0 && tabs >= commas) return {'\t', '.'};
    return {commas > 0 ? ',' : '\0', '.'};
}

}  // namespace csv2pnp
