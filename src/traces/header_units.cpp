#include "traces/header_units.h"

#include <string>

#include "text/utf8_text.h"
#include "traces/text_table.h"

namespace csv2pnp {

namespace {

// Letters and digits as the ASCII table has them, whatever the locale.
bool isWordCharacter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'); }

}  // namespace

std::optional<std::string_view> unitInBrackets(std::string_view cell) {
    cell = trimmed(cell);
    if (cell.empty() || (cell.back() != ')' && cell.back() != ']')) return std::nullopt;
    const char open = cell.back() == ')' ? '(' : '[';
    const std::size_t at = cell.rfind(open);
    if (at == std::string_view::npos) return std::nullopt;
    return trimmed(cell.substr(at + 1, cell.size() - at - 2));
}

std::string_view withoutUnit(std::string_view cell) {
    cell = trimmed(cell);
    if (!unitInBrackets(cell)) return cell;
    return trimmed(cell.substr(0, cell.rfind(cell.back() == ')' ? '(' : '[')));
}

bool containsWord(std::string_view text, std::string_view word) {
    for (std::size_t at = text.find(word); at != std::string_view::npos; at = text.find(word, at + 1)) {
        const std::size_t after = at + word.size();
        if ((at == 0 || !isWordCharacter(text[at - 1])) && (after == text.size() || !isWordCharacter(text[after])))
            return true;
    }
    return false;
}

std::optional<double> hertzPer(std::string_view unit) {
    unit = trimmed(unit);
    if (unit == "Hz") return 1.0;
    if (unit == "kHz" || unit == "KHz") return 1e3;
    if (unit == "MHz") return 1e6;
    if (unit == "GHz") return 1e9;
    return std::nullopt;
}

bool isDbcPerHz(std::string_view unit) { return asciiLowerCase(trimmed(unit)) == "dbc/hz"; }

bool namesFloor(std::string_view name) {
    const std::string lower = asciiLowerCase(name);
    return containsWord(lower, "floor") || containsWord(lower, "sensitivity");
}

std::optional<std::string_view> amplitudeUnitIn(std::string_view comment) {
    constexpr std::string_view phrase = "amplitude unit";
    const std::size_t named = asciiLowerCase(comment).find(phrase);
    if (named == std::string::npos) return std::nullopt;
    // "amplitude units: DBM", "amplitude unit = dBm", "Amplitude units","dBm"
    std::string_view rest = comment.substr(named + phrase.size());
    if (!rest.empty() && (rest.front() == 's' || rest.front() == 'S')) rest.remove_prefix(1);
    const std::size_t start = rest.find_first_not_of(" \t:=,;\"");
    if (start == std::string_view::npos || start == 0) return std::nullopt;
    rest = rest.substr(start);
    return rest.substr(0, rest.find_first_of(" \t,;\""));
}

}  // namespace csv2pnp
