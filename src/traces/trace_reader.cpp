#include "traces/trace_reader.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <optional>

#include "files/base_name.h"
#include "plot_format/plot_format.h"
#include "table/cell_value.h"
#include "table/csv_table_reader.h"

namespace csv2pnp {

namespace {

using namespace plotformat;

constexpr const char* noTrace = "holds no trace";
constexpr std::string_view byteOrderMark = "\xef\xbb\xbf";
// What the floor trace of a measurement is called, whichever input it came from.
constexpr const char* floorName = " floor";
constexpr const char* noDrawablePoint = "holds no point that can be drawn";

// Walks the lines of a plot file, which end at CR LF, LF or a lone CR, each without its end.
struct LineWalk {
    const char* at;
    const char* end;
    std::size_t number;  // of the line last returned, from 1
};

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

Problem invalid(const std::string& source, std::size_t line, std::string text) {
    return Problem{ProblemKind::invalid, source, line, std::move(text)};
}

// The texts compared are a few characters long: a plain loop beats a call of memcmp.
bool startsWith(std::string_view text, std::string_view start) {
    if (text.size() < start.size()) return false;
    for (std::size_t i = 0; i < start.size(); ++i) {
        if (text[i] != start[i]) return false;
    }
    return true;
}

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
    LineWalk walk{bytes.data(), bytes.data() + bytes.size(), 0};
    while (std::optional<std::string_view> line = nextLine(walk)) {
        if (line->empty()) continue;
        return line->front() == commentMark || isRecord(*line) || startsWith(*line, traceStart);
    }
    return false;
}

Result<std::vector<Trace>> readPlotFile(std::string_view bytes, const std::string& source) {
    Trace trace;
    trace.source = source;
    trace.caption = baseNameOf(source);
    // A line of a plot file takes 30 bytes or more.
    trace.points.reserve(bytes.size() / 30 + 1);
    LineWalk walk{bytes.data(), bytes.data() + bytes.size(), 0};
    while (std::optional<std::string_view> line = nextLine(walk)) {
        if (startsWith(*line, traceStart)) {
            TracePoint point{};
            if (!parseTraceLine(*line, point.offset, point.level)) {
                return invalid(source, walk.number, "a TRA line that does not parse");
            }
            trace.points.push_back(point);  // the frequency, until the carrier is known
        } else if (std::string_view value = *line; take(value, captionRecord)) {
            trace.caption = std::string(value);
        } else if (take(value, carrierRecord)) {
            double carrier = 0;
            if (takeNumber(value, carrier)) trace.carrier = carrier;
        } else if (take(value, timeRecord)) {
            trace.time = std::string(value);
        }
    }
    for (TracePoint& point : trace.points) point.offset -= trace.carrier.value_or(0.0);

    std::string_view caption = trace.caption;
    trace.floor = caption.size() >= imaginaryCaptionSuffix.size() &&
                  caption.substr(caption.size() - imaginaryCaptionSuffix.size()) == imaginaryCaptionSuffix;
    trace.measurement =
        trace.floor ? std::string(caption.substr(0, caption.size() - imaginaryCaptionSuffix.size())) : trace.caption;
    if (trace.floor) trace.caption = trace.measurement + floorName;
    trace.plotFile = true;
    trace.group = "plot file " + trace.measurement;
    std::size_t found = trace.points.size();
    settlePoints(trace);
    if (trace.points.empty()) return invalid(source, 0, found == 0 ? noTrace : noDrawablePoint);
    // Moved in: a list of one made with braces would copy the trace.
    std::vector<Trace> read;
    read.push_back(std::move(trace));
    return read;
}

Result<std::vector<Trace>> readCsvExport(std::string bytes, const std::string& source) {
    MeasurementTable table = parseMeasurementTable(std::move(bytes));
    std::string name = baseNameOf(source);
    Trace traces[2];
    const char* kinds[] = {" phase noise", floorName};
    for (int k = 0; k < 2; ++k) {
        traces[k].caption = name + kinds[k];
        traces[k].source = source;
        traces[k].measurement = name;
        traces[k].group = "export " + source;
        traces[k].floor = k == 1;
        traces[k].points.reserve(rowCount(table));
    }
    std::size_t rowsWithCells = 0, singleCellRows = 0;
    for (std::size_t r = 0; r < rowCount(table); ++r) {
        MeasurementRow row = rowAt(table, r);
        if (!row.line.empty()) {
            ++rowsWithCells;
            if (cellCount(row) == 1) ++singleCellRows;
        }
        CellCursor cells = cellsOf(row);
        std::optional<std::string_view> offsetCell = nextCell(cells);
        std::optional<double> offset = offsetCell ? cellNumber(*offsetCell) : std::nullopt;
        if (!offset) continue;
        for (Trace& trace : traces) {
            std::optional<std::string_view> levelCell = nextCell(cells);
            if (!levelCell) break;
            if (std::optional<double> level = cellNumber(*levelCell))
                trace.points.push_back(TracePoint{*offset, *level});
        }
    }
    std::vector<Trace> read;
    std::size_t found = 0;
    for (Trace& trace : traces) {
        found += trace.points.size();
        settlePoints(trace);
        if (!trace.points.empty()) read.push_back(std::move(trace));
    }
    Result<std::vector<Trace>> input =
        read.empty() ? Result<std::vector<Trace>>(invalid(source, 0, found == 0 ? noTrace : noDrawablePoint))
                     : Result<std::vector<Trace>>(std::move(read));
    if (singleCellRows * 2 > rowsWithCells) {
        input.warnings.push_back({source, 0,
                                  "most rows hold a single cell: pnpplot reads comma-separated exports, and this "
                                  "one seems to be separated by something else (semicolons, tabs)"});
    }
    return input;
}

Result<std::vector<Trace>> readTraces(std::string bytes, const std::string& source) {
    // A byte-order mark, as Windows editors save one, is not part of the first line.
    if (bytes.rfind(byteOrderMark, 0) == 0) bytes.erase(0, byteOrderMark.size());
    Result<std::vector<Trace>> input =
        isPlotFile(bytes) ? readPlotFile(bytes, source) : readCsvExport(std::move(bytes), source);
    if (!input) return input;
    for (const Trace& trace : *input.value) {
        auto above =
            std::count_if(trace.points.begin(), trace.points.end(), [](const TracePoint& p) { return p.level > 0; });
        if (static_cast<std::size_t>(above) * 2 > trace.points.size()) {
            input.warnings.push_back({source, 0,
                                      trace.caption +
                                          ": most levels are above 0 dBc/Hz, which no measured phase noise is; "
                                          "decimal commas (-119,86) split each level into two cells"});
        }
        if (trace.repeated > 0) {
            input.warnings.push_back({source, 0,
                                      trace.caption + ": " + std::to_string(trace.repeated) +
                                          (trace.repeated == 1 ? " point is at an offset" : " points are at offsets") +
                                          " given again later; the last of equal offsets is used"});
        }
    }
    return input;
}

}  // namespace csv2pnp
