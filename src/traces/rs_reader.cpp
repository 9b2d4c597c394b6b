#include "traces/rs_reader.h"

#include <charconv>
#include <optional>

#include "traces/trace.h"
#include "traces/text_table.h"

namespace csv2pnp {

namespace {

constexpr std::string_view layoutName = "rs";

// The instrument writes a decimal comma or a decimal point, as its locale is set.
std::optional<double> valueIn(std::string_view cell) {
    return numberIn(cell, cell.find(',') != std::string_view::npos ? ',' : '.');
}

// "Hz", "kHz", "MHz", "GHz" as a factor to hertz.
std::optional<double> hertzPer(std::string_view unit) {
    unit = trimmed(unit);
    if (unit == "Hz") return 1.0;
    if (unit == "kHz") return 1e3;
    if (unit == "MHz") return 1e6;
    if (unit == "GHz") return 1e9;
    return std::nullopt;
}

// A line "key;value;unit" or "key;value;": its key and its cells after it.
struct KeyLine {
    std::string_view key, value, unit;
};

KeyLine keyLineOf(std::string_view line) {
    KeyLine parts;
    std::size_t first = line.find(';');
    parts.key = trimmed(line.substr(0, first));
    if (first == std::string_view::npos) return parts;
    std::string_view rest = line.substr(first + 1);
    std::size_t second = rest.find(';');
    parts.value = trimmed(rest.substr(0, second));
    if (second != std::string_view::npos)
        parts.unit = trimmed(rest.substr(second + 1, rest.find(';', second + 1) - second - 1));
    return parts;
}

std::string count(std::size_t n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

}  // namespace

bool isRohdeSchwarzExport(std::string_view bytes) {
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        if (trimmed(*line).empty()) continue;
        return startsWith(*line, "Type;");
    }
    return false;
}

Result<std::vector<Trace>> readRohdeSchwarzExport(std::string_view bytes, const std::string& source) {
    std::optional<double> carrier;
    std::vector<Trace> traces;
    LineWalk walk = linesOf(bytes);
    double offsetScale = 1;
    while (std::optional<std::string_view> line = nextLine(walk)) {
        KeyLine parts = keyLineOf(*line);
        if (parts.key.empty()) continue;
        if (parts.key == "Signal Frequency") {
            std::optional<double> value = valueIn(parts.value);
            std::optional<double> scale = hertzPer(parts.unit.empty() ? "Hz" : parts.unit);
            if (!value || !scale) {
                return invalidContent(source, walk.number,
                                      "'" + std::string(*line) + "' is not a Signal Frequency in Hz");
            }
            carrier = *value * *scale;
        } else if (parts.key == "Trace") {
            traces.push_back(
                namedTrace(source, std::string(layoutName), "trace " + std::string(parts.value) + " phase noise"));
            traces.back().carrier = carrier;
            offsetScale = 1;
        } else if (traces.empty()) {
            continue;  // the header's other records: type, version, date, mode, level, ...
        } else if (parts.key == "Trace Result") {
            Trace& trace = traces.back();
            if (parts.value == "AM") {
                trace.amplitude = true;
                trace.part =
                    trace.part.substr(0, trace.part.size() - std::string_view("phase noise").size()) + "AM noise";
                trace.caption = trace.measurement + " " + trace.part;
            } else if (parts.value != "PN") {
                return invalidContent(source, walk.number,
                                      "Trace Result '" + std::string(parts.value) +
                                          "': pnpplot reads phase noise (PN) and amplitude noise (AM)");
            }
        } else if (parts.key == "x-Unit") {
            std::optional<double> scale = hertzPer(parts.value);
            if (!scale)
                return invalidContent(source, walk.number, "x-Unit '" + std::string(parts.value) + "': offsets in Hz");
            offsetScale = *scale;
        } else if (parts.key == "y-Unit") {
            if (parts.value != "dBc/Hz") {
                return invalidContent(source, walk.number,
                                      "y-Unit '" + std::string(parts.value) + "': pnpplot reads levels in dBc/Hz");
            }
        } else if (parts.key == "Values") {
            std::size_t promised = 0;
            auto [end, error] = std::from_chars(parts.value.data(), parts.value.data() + parts.value.size(), promised);
            if (error != std::errc() || end != parts.value.data() + parts.value.size()) {
                return invalidContent(source, walk.number, "'" + std::string(*line) + "' is not Values;<count>;");
            }
            Trace& trace = traces.back();
            trace.points.reserve(promised);
            for (std::size_t k = 0; k < promised; ++k) {
                std::optional<std::string_view> value = nextLine(walk);
                if (!value) {
                    return invalidContent(source, walk.number,
                                          trace.part + " holds " + std::to_string(k) + " of the " +
                                              count(promised, "value") + " its Values line promises");
                }
                std::size_t semicolon = value->find(';');
                std::optional<double> offset =
                    semicolon == std::string_view::npos ? std::nullopt : valueIn(value->substr(0, semicolon));
                std::string_view rest = semicolon == std::string_view::npos ? "" : value->substr(semicolon + 1);
                std::optional<double> level = offset ? valueIn(rest.substr(0, rest.find(';'))) : std::nullopt;
                if (!level) {
                    return invalidContent(source, walk.number,
                                          "'" + std::string(*value) + "' is not offset;level; (value " +
                                              std::to_string(k + 1) + " of " + std::to_string(promised) + " of " +
                                              trace.part + ")");
                }
                trace.points.push_back(TracePoint{*offset * offsetScale, *level});
            }
        }
    }
    if (traces.empty()) return invalidContent(source, 0, "holds no Trace block");
    return settledTraces(std::move(traces), source);
}

}  // namespace csv2pnp
