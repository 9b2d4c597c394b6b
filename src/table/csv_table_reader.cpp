#include "table/csv_table_reader.h"

#include <algorithm>
#include <cstring>
#include <optional>

#include "platform/platform.h"

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

// Reads to the end in one pass. A regular file's length sizes the buffer, with one byte
// more so that its end is seen without growing; pipes and devices grow it as they deliver.
std::optional<std::string> readWhole(InputFile file, InputRead read) {
    constexpr std::size_t firstChunk = 1 << 16;
    std::string bytes(std::max(file.sizeHint + 1, firstChunk), '\0');
    std::size_t filled = 0;
    for (;;) {
        if (filled == bytes.size()) bytes.resize(bytes.size() * 2);
        long long got = read(file, bytes.data() + filled, bytes.size() - filled);
        if (got < 0) return std::nullopt;
        if (got == 0) break;
        filled += static_cast<std::size_t>(got);
    }
    bytes.resize(filled);
    return bytes;
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

TableInput readMeasurementTable(const std::string& path, std::ostream& console, InputRead read) {
    std::optional<InputFile> file = openInputFile(path);
    if (!file) return TableInput{InputStatus::notOpened, {}};
    std::optional<std::string> bytes = readWhole(*file, read);
    closeInputFile(*file);
    if (!bytes) return TableInput{InputStatus::readFailed, {}};
    TableInput input{InputStatus::read, parseMeasurementTable(std::move(*bytes))};
    console << "Read file = " << path << " (" << rowCount(input.table) << " rows)\n";
    return input;
}

}  // namespace csv2pnp
