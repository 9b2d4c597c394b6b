#include "csv2pnp/plot_file_writer.h"

#include <cstring>
#include <string>

#include "plot_format/plot_format.h"

namespace csv2pnp {

void writeLine(PlotFileWriter& writer, std::string_view text) {
    if (writer.problem) return;
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
    writer.problem = writeOutput(*writer.output, std::string_view(line, length));
}

void writeEndedLine(PlotFileWriter& writer, std::string_view line) {
    if (!writer.problem) writer.problem = writeOutput(*writer.output, line);
}

void writeBoth(PlotFileWriter& data, PlotFileWriter& imaginary, std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) writeLine(data, line);
    for (std::string_view line : lines) writeLine(imaginary, line);
}

}  // namespace csv2pnp
