#include "table/csv_table_reader.h"

#include <algorithm>
#include <cstring>

namespace csv2pnp {

namespace {

// Windows text mode: a Ctrl-Z byte ends the input, and CR LF becomes LF. A lone CR stays.
void applyTextMode(std::string& bytes) {
    std::size_t eof = bytes.find('\x1a');
    if (eof != std::string::npos) bytes.resize(eof);
    std::size_t out = bytes.find("\r\n");
    if (out == std::string::npos) return;
    for (std::size_t in = out; in < bytes.size(); ++in) {
        if (bytes[in] == '\r' && in + 1 < bytes.size() && bytes[in + 1] == '\n') continue;
        bytes[out++] = bytes[in];
    }
    bytes.resize(out);
}

}  // namespace

MeasurementTable parseMeasurementTable(std::string bytes) {
    applyTextMode(bytes);
    MeasurementTable table;
    table.text = std::move(bytes);
    const std::string& text = table.text;
    std::size_t lines = static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n'));
    if (!text.empty() && text.back() != '\n') ++lines;
    table.lineEnds.reserve(lines);
    const char* begin = text.data();
    const char* end = begin + text.size();
    for (const char* p = begin; p < end;) {
        const void* lf = std::memchr(p, '\n', static_cast<std::size_t>(end - p));
        if (!lf) {
            table.lineEnds.push_back(text.size());
            break;
        }
        const char* lineEnd = static_cast<const char*>(lf);
        table.lineEnds.push_back(static_cast<std::size_t>(lineEnd - begin));
        p = lineEnd + 1;
    }
    return table;
}

Result<MeasurementTable> readMeasurementTable(const std::string& path, const Host& host) {
    Result<std::string> bytes = readInputBytes(path, host);
    if (!bytes) return *bytes.problem;
    return parseMeasurementTable(std::move(*bytes.value));
}

}  // namespace csv2pnp
