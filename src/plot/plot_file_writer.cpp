#include "plot/plot_file_writer.h"

#include <cstring>
#include <string>

namespace csv2pnp {

namespace {

bool writeToFile(void* target, std::string_view bytes) {
    return writeOutputFile(*static_cast<OutputFile*>(target), bytes.data(), bytes.size());
}

bool appendToString(void* target, std::string_view bytes) {
    static_cast<std::string*>(target)->append(bytes);
    return true;
}

}  // namespace

PlotFileWriter fileWriter(OutputFile& file) { return PlotFileWriter{writeToFile, &file, false}; }

PlotFileWriter stringWriter(std::string& bytes) { return PlotFileWriter{appendToString, &bytes, false}; }

void writeLine(PlotFileWriter& writer, std::string_view text) {
    if (writer.failed) return;
    // The line and its end go to the host as one piece; nearly every line fits on the stack.
    char shortLine[256];
    std::string longLine;
    char* line = shortLine;
    if (text.size() + 2 > sizeof shortLine) {
        longLine.resize(text.size() + 2);
        line = longLine.data();
    }
    std::memcpy(line, text.data(), text.size());
    line[text.size()] = '\r';
    line[text.size() + 1] = '\n';
    writer.failed = !writer.sink(writer.target, std::string_view(line, text.size() + 2));
}

}  // namespace csv2pnp
