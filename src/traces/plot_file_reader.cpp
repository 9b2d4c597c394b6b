#include "traces/plot_file_reader.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "files/base_name.h"
#include "plot_format/plot_format.h"
#include "table/cell_value.h"
#include "traces/read_warnings.h"
#include "traces/text_table.h"
#include "traces/trace.h"

namespace csv2pnp {

namespace {

using namespace plotformat;

// What the floor trace of a measurement is called, whichever input it came from.
constexpr const char* floorName = " floor";

bool isRecord(std::string_view line) {
    return line.size() >= 3 &&
           std::all_of(line.begin(), line.begin() + 3, [](char c) { return c >= 'A' && c <= 'Z'; }) &&
           (line.size() == 3 || line[3] == ' ');
}

// Takes text off the front of line; false when line does not start with it.
bool take(std::string_view& line, std::string_view text) {
    if (!startsWith(line, text)) return false;
    line.remove_prefix(text.size());
    return true;
}

bool takeNumber(std::string_view& line, double& value) {
    // Nearly every number of a plot file is a short plain decimal, "-119.860", read by one
    // rounding; it counts when the space after it follows.
    std::size_t sign = !line.empty() && line.front() == '-' ? 1 : 0, length = 0;
    if (std::optional<double> magnitude = shortDecimal(line.substr(sign), &length)) {
        if (sign + length < line.size() && line[sign + length] == ' ') {
            value = sign ? -*magnitude : *magnitude;
            line.remove_prefix(sign + length);
            return true;
        }
    }
    auto [end, error] = std::from_chars(line.data(), line.data() + line.size(), value);
    if (error != std::errc() && error != std::errc::result_out_of_range) return false;
    std::string_view number(line.data(), static_cast<std::size_t>(end - line.data()));
    // Beyond or below the doubles from_chars leaves the value alone; a cell reads it as atof does.
    if (error == std::errc::result_out_of_range) value = cellValue(number);
    line.remove_prefix(number.size());
    return true;
}

// "   TRA <number>: <frequency> Hz, <level> dBc", nothing more and nothing less.
bool parseTraceLine(std::string_view line, double& frequency, double& level) {
    if (!take(line, traceStart)) return false;
    std::size_t digits = 0;
    while (digits < line.size() && line[digits] >= '0' && line[digits] <= '9') ++digits;
    if (digits == 0) return false;
    line.remove_prefix(digits);
    return take(line, traceNumberEnd) && takeNumber(line, frequency) && take(line, traceFrequencyEnd) &&
           takeNumber(line, level) && take(line, traceLevelEnd) && line.empty();
}

}  // namespace

bool isPlotFile(std::string_view bytes) {
    // Comments may come first; then a record or a TRA line, or it is not a plot file.
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        if (line->empty()) continue;
        if (isRecord(*line) || startsWith(*line, traceStart)) return true;
        if (line->front() != commentMark) return false;
    }
    return false;
}

Result<std::vector<Trace>> readPlotFile(std::string_view bytes, const std::string& source) {
    Trace trace;
    trace.source = source;
    trace.caption = baseNameOf(source);
    // A line of a plot file takes 30 bytes or more.
    trace.points.reserve(bytes.size() / 30 + 1);
    LeftOutLines unknown;
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        if (startsWith(*line, traceStart)) {
            TracePoint point{};
            if (!parseTraceLine(*line, point.offset, point.level)) {
                return invalidContent(source, walk.number, "a TRA line that does not parse");
            }
            trace.points.push_back(point);  // the frequency, until the carrier is known
        } else if (std::string_view value = *line; take(value, captionRecord)) {
            trace.caption = std::string(value);
        } else if (take(value, carrierRecord)) {
            double carrier = 0;
            if (takeNumber(value, carrier)) trace.carrier = carrier;
        } else if (take(value, timeRecord)) {
            trace.time = std::string(value);
        } else if (!line->empty() && line->front() != commentMark && !isRecord(*line)) {
            unknown.add(walk.number, *line);
        }
    }
    for (TracePoint& point : trace.points) point.offset -= trace.carrier.value_or(0.0);

    std::string_view caption = trace.caption;
    trace.floor = caption.size() >= imaginaryCaptionSuffix.size() &&
                  caption.substr(caption.size() - imaginaryCaptionSuffix.size()) == imaginaryCaptionSuffix;
    trace.measurement =
        trace.floor ? std::string(caption.substr(0, caption.size() - imaginaryCaptionSuffix.size())) : trace.caption;
    if (trace.floor) trace.caption = trace.measurement + floorName;
    trace.part = trace.floor ? "floor" : "";
    trace.plotFile = true;
    trace.layout = "pnp";
    // The pair of one measurement shares a group: the same CAP record, in the same folder.
    trace.group = "plot file " + source.substr(0, source.size() - baseNameOf(source).size()) + trace.measurement;
    // Moved in: a list of one made with braces would copy the trace.
    std::vector<Trace> traces;
    traces.push_back(std::move(trace));
    Result<std::vector<Trace>> result = settledTraces(std::move(traces), source);
    warnOfLeftOut(result.warnings, source, unknown, notAPlotFileLine);
    return result;
}

}  // namespace csv2pnp
