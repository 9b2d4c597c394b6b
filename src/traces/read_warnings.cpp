#include "traces/read_warnings.h"

#include "traces/header_units.h"

namespace csv2pnp {

namespace {

// A line or cell as a warning quotes it: at most 40 characters.
std::string quoted(std::string_view text) {
    constexpr std::size_t longest = 40;
    return "'" + std::string(text.substr(0, longest)) + (text.size() > longest ? "...'" : "'");
}

}  // namespace

void LeftOutLines::add(std::size_t line, std::string_view content) {
    // A line with two cells left out is still one line.
    if (count > 0 && line == last) return;
    last = line;
    if (count++ == 0) {
        first = line;
        text = std::string(content);
    }
}

void warnOfLeftOut(std::vector<Warning>& warnings, const std::string& source, const LeftOutLines& lines,
                   std::string_view why) {
    if (lines.count == 0) return;
    std::string text = quoted(lines.text) + " " + std::string(why);
    if (lines.count > 1) {
        const std::size_t more = lines.count - 1;
        text += " (and " + std::to_string(more) + (more == 1 ? " more line" : " more lines") + " like it)";
    }
    warnings.push_back({source, lines.first, text});
}

std::string inWindowNotRead(std::string_view window) {
    return "belongs to window " + std::string(window) + ", which pnpplot does not read: it is not read";
}

std::string columnNotRead(std::size_t column, std::string_view name, std::string_view why) {
    return "column " + std::to_string(column) + " " + quoted(name) + " is not read: " + std::string(why);
}

std::string unitNotDbcPerHz(std::string_view unit) { return "its unit, " + std::string(unit) + ", is not dBc/Hz"; }

std::string columnReadAsDbcPerHz(std::size_t column, std::string_view name, std::string_view unit) {
    return "column " + std::to_string(column) + " " + quoted(name) + " names " + std::string(unit) +
           ", and is read as dBc/Hz as --columns says";
}

std::string levelsInOtherUnit(std::size_t column, std::string_view name, std::string_view unit) {
    return "the levels are in " + std::string(unit) + " (column " + std::to_string(column) + " " + quoted(name) +
           "), not dBc/Hz: pnpplot draws phase noise only; --columns names the columns to read as dBc/Hz";
}

std::string amplitudeUnitNamed(std::string_view unit) {
    return "the comment names the amplitude unit " + std::string(unit) +
           ": the levels are drawn as dBc/Hz; check that they are phase noise";
}

void warnOfAmplitudeUnit(std::string_view line, std::size_t number, const std::string& source,
                         std::vector<Warning>& warnings) {
    std::optional<std::string_view> unit = amplitudeUnitIn(line);
    if (unit && !isDbcPerHz(*unit)) warnings.push_back({source, number, amplitudeUnitNamed(*unit)});
}

std::string yUnitRefused(std::string_view unit, std::string_view mode) {
    std::string text = "y-Unit '" + std::string(unit) + "'";
    if (!mode.empty()) text += " in Mode " + std::string(mode) + ", a spectrum";
    return text + ": pnpplot reads levels in dBc/Hz";
}

std::string spectrumModeRefused(std::string_view mode) {
    return "Mode " + std::string(mode) + " is a spectrum, not phase noise: pnpplot reads levels in dBc/Hz";
}

std::string traceHoldsNoValues(std::string_view trace) {
    return std::string(trace) + " holds no values: it is not drawn";
}

std::string integratedTraceMissing(std::string_view trace) {
    return "the instrument's integrated figures of trace " + std::string(trace) +
           ", which holds no phase noise here, are not shown";
}

std::string integratedNoiseUnit(std::string_view unit) {
    return "the instrument's integrated noise is in '" + std::string(unit) + "', not dBc: it is not compared";
}

}  // namespace csv2pnp
