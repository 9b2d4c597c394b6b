#include "csv2pnp/plot_file_writer.h"

#include <cstring>
#include <string>

#include "plot_format/plot_format.h"

namespace csv2pnp {

namespace {

bool writeToFile(void* target, std::string_view bytes) { return writeOutput(*static_cast<OpenOutput*>(target), bytes); }

bool appendToString(void* target, std::string_view bytes) {
    static_cast<std::string*>(target)->append(bytes);
    return true;
}

}  // namespace

PlotFileWriter fileWriter(OpenOutput& file) { return PlotFileWriter{writeToFile, &file, false}; }

PlotFileWriter stringWriter(std::string& bytes) { return PlotFileWriter{appendToString, &bytes, false}; }

void writeLine(PlotFileWriter& writer, std::string_view text) {
    if (writer.failed) return;
    // The line and its end go to the host as one piece; nearly every line fits on the stack.
    const std::size_t length = text.size() + plotformat::lineEnd.size();
    char shortLine[256];
    std::string longLine;
    char* line = shortLine;
    if (length > sizeof shortLine) {
        longLine.resize(length);
        line = longLine.data();
    }
    std::memcpy(line, text.data(), text.size());
    std::memcpy(line + text.size(), plotformat::lineEnd.data(), plotformat::lineEnd.size());
    writer.failed = !writer.sink(writer.target, std::string_view(line, length));
}

void writeEndedLine(PlotFileWriter& writer, std::string_view line) {
    if (!writer.failed) writer.failed = !writer.sink(writer.target, line);
}

void writeBoth(PlotFileWriter& data, PlotFileWriter& imaginary, std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) writeLine(data, line);
    for (std::string_view line : lines) writeLine(imaginary, line);
}

}  // namespace csv2pnp
