// Feeds arbitrary bytes through the CSV reader and the plot file writer and checks what
// must hold for every input.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "csv2pnp/plot_files.h"
#include "memory_plot_files.h"
#include "table/csv_table_reader.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

// The input as a text-mode read sees it, worked out independently of the reader.
std::string textModeView(const std::string& bytes) {
    std::string text = bytes.substr(0, bytes.find('\x1a'));
    for (std::size_t at = 0; (at = text.find("\r\n", at)) != std::string::npos; ++at) text.erase(at, 1);
    return text;
}

std::size_t lineCount(const std::string& text) {
    std::size_t lines = 0;
    for (char c : text) lines += c == '\n';
    return lines + (!text.empty() && text.back() != '\n');
}

std::size_t checkPlotFile(const std::string& file, const std::string& name) {
    require(file.rfind(";\r\n;Composite-noise plot file " + name + "\r\n", 0) == 0);
    require(file.size() >= 2 && file.compare(file.size() - 2, 2, "\r\n") == 0);
    std::size_t lines = 0, eofRecords = 0, lastStart = 0;
    for (std::size_t start = 0, end; (end = file.find("\r\n", start)) != std::string::npos; start = end + 2) {
        ++lines;
        lastStart = start;
        eofRecords += file.compare(start, 4, "EOF ") == 0;
    }
    require(eofRecords == 1);
    require(file.compare(lastStart, 4, "EOF ") == 0);
    return lines;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    std::string expectedText = textModeView(bytes);
    csv2pnp::MeasurementTable table = csv2pnp::parseMeasurementTable(bytes);
    require(table.text == expectedText);
    require(csv2pnp::rowCount(table) == lineCount(expectedText));

    bool everyRowHasThreeCells = true;
    for (std::size_t r = 0; r < csv2pnp::rowCount(table); ++r) {
        everyRowHasThreeCells = everyRowHasThreeCells && csv2pnp::cellCount(csv2pnp::rowAt(table, r)) >= 3;
    }

    const csv2pnp::PlotFileNames names = csv2pnp::plotFileNamesFor("f.csv");
    csv2pnp::test::MemoryPlotFiles files;
    csv2pnp::writePlotFiles(files.data, files.imaginary, table, names, 10000000, files.recorder.time, files.host);
    require(!files.data.problem && !files.imaginary.problem);
    std::size_t dataLines = checkPlotFile(files.dataBytes(), names.dataFileName);
    std::size_t imaginaryLines = checkPlotFile(files.imaginaryBytes(), names.imaginaryFileName);
    if (everyRowHasThreeCells) require(dataLines == imaginaryLines);
    return 0;
}
