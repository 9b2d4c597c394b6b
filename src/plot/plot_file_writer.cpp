#include "plot/plot_file_writer.h"

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

PlotFileWriter fileWriter(OutputFile& file) { return PlotFileWriter{writeToFile, &file, {}, false}; }

PlotFileWriter stringWriter(std::string& bytes) { return PlotFileWriter{appendToString, &bytes, {}, false}; }

void writeLine(PlotFileWriter& writer, std::string_view text) {
    if (writer.failed) return;
    writer.line.assign(text);
    writer.line += "\r\n";
    writer.failed = !writer.sink(writer.target, writer.line);
}

}  // namespace csv2pnp
