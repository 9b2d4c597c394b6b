#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "csv2pnp/plot_files.h"
#include "fixed_clock.h"
#include "memory_plot_files.h"
#include "scratch_dir.h"
#include "table/cell_value.h"
#include "table/csv_table_reader.h"
#include "traces/plot_file_reader.h"
#include "traces/read_warnings.h"
#include "traces/trace_reader.h"

namespace csv2pnp {
namespace {

struct PlotPair {
    std::string data, imaginary;
};

PlotPair writtenByCsv2pnp(const std::string& csv, std::uint32_t carrier) {
    test::MemoryPlotFiles files;
    writePlotFiles(files.data, files.imaginary, parseMeasurementTable(csv), plotFileNamesFor("osc1.csv"), carrier,
                   test::fixedClock(), files.host);
    return {files.dataBytes(), files.imaginaryBytes()};
}

std::string withLfLineEnds(std::string text) {
    for (std::size_t at; (at = text.find("\r\n")) != std::string::npos;) text.erase(at, 1);
    return text;
}

// A plot file gives back the rows that csv2pnp wrote: those from the first marker on.
TEST(PlotFileReader, RoundTripOfTheSampleExport) {
    const std::string csv = test::readFile(SAMPLE_EXPORT);
    MeasurementTable table = parseMeasurementTable(csv);
    PlotPair pair = writtenByCsv2pnp(csv, 100000000);
    const std::size_t firstMarkerRow = 10;  // its offset reaches 10 Hz
    for (bool lf : {false, true}) {
        for (int file = 0; file < 2; ++file) {
            std::string bytes = file == 0 ? pair.data : pair.imaginary;
            if (lf) bytes = withLfLineEnds(bytes);
            ASSERT_TRUE(isPlotFile(bytes));
            Result<std::vector<Trace>> read = readPlotFile(bytes, "dir/osc1.csv.pnp");
            ASSERT_TRUE(read);
            ASSERT_EQ(read.value->size(), 1u);
            const Trace& trace = read.value->front();
            EXPECT_EQ(trace.caption, file == 0 ? "osc1.csv" : "osc1.csv floor");
            EXPECT_EQ(trace.measurement, "osc1.csv");
            EXPECT_EQ(trace.floor, file == 1);
            EXPECT_EQ(trace.carrier, 100000000.0);
            EXPECT_EQ(trace.time, test::fixedTimeStamp);
            ASSERT_EQ(trace.points.size(), rowCount(table) - firstMarkerRow);
            for (std::size_t i = 0; i < trace.points.size(); ++i) {
                MeasurementRow row = rowAt(table, firstMarkerRow + i);
                EXPECT_NEAR(trace.points[i].offset, cellValue(*cellAt(row, 0)), 1e-6) << i;
                EXPECT_EQ(trace.points[i].level, cellValue(*cellAt(row, 1 + static_cast<std::size_t>(file)))) << i;
            }
        }
    }
}

TEST(PlotFileReader, PlotFileLinesAndTheirErrors) {
    const std::string head = ";\nCAP x\nCAR 1000 Hz, 3dBm\nDEC 1\nNCF 0 dB\n";
    const struct {
        std::string bytes;
        std::string error;
        std::size_t points, leftOut;
    } cases[] = {
        {head + "   TRA 0: 1010.000 Hz, -1.000 dBc\n   TRA 1: 1020.500 Hz, nan dBc\nEOF 1/03/2026 9:05:03\n", "", 1, 1},
        {head + "   TRA 0: 1010.000 Hz, -1.000 dBc\n   TRA 1: 1020 Hz -2 dBc\n",
         "x.pnp: line 7: a TRA line that does not parse", 0, 0},
        {head + "   TRA x: 1010.000 Hz, -1.000 dBc\n", "x.pnp: line 6: a TRA line that does not parse", 0, 0},
        {head + "   TRA 0: 1010.000 Hz, -1.000 dBc trailing\n", "x.pnp: line 6: a TRA line that does not parse", 0, 0},
        {head + "   TRA 0: 1010.000 Hz, -1.000 dBc\r\n   TRA 1: 1020.000 Hz, -inf dBc\r\n", "", 1, 1},
        {head + "   TRA 0: 1010.000 Hz, -1e-400 dBc\n   TRA 1: 1020.000 Hz, 1e400 dBc\n", "", 1, 1},
        {head + "EOF 1/03/2026 9:05:03\n", "x.pnp: holds no trace", 0, 0},
        {head + "   TRA 0: 900.000 Hz, -1.000 dBc\n   TRA 1: 1000.000 Hz, -1.000 dBc\n",
         "x.pnp: holds no point that can be drawn", 0, 0},
        // Lone CRs end lines too, as a file saved on an old Mac has them.
        {";\rCAR 1000 Hz, 3dBm\r   TRA 0: 1010.000 Hz, -1.000 dBc\r   TRA 1: 1020.000 Hz, -2.000 dBc\r", "", 2, 0},
        {";\r\n\r\rCAR 1000 Hz, 3dBm\n\r   TRA 0: 1010.000 Hz, -1.000 dBc\r", "", 1, 0},
    };
    for (const auto& c : cases) {
        Result<std::vector<Trace>> read = readTraces(c.bytes, "x.pnp");
        EXPECT_EQ(read ? "" : describe(*read.problem), c.error) << c.bytes;
        EXPECT_EQ(read ? read.value->front().points.size() : 0, c.points) << c.bytes;
        EXPECT_EQ(read ? read.value->front().leftOut : 0, c.leftOut) << c.bytes;
        EXPECT_TRUE(read.warnings.empty()) << c.bytes;
    }
    // A line that is none of the file's own is warned of, not read.
    Result<std::vector<Trace>> stray =
        readTraces(head + "   TRA 0: 1010.000 Hz, -1.000 dBc\nedited by hand\n", "x.pnp");
    ASSERT_TRUE(stray);
    ASSERT_EQ(stray.warnings.size(), 1u);
    EXPECT_EQ(describe(stray.warnings[0]), "x.pnp: line 7: 'edited by hand' " + std::string(notAPlotFileLine));
}

TEST(PlotFileReader, ToldByContent) {
    const std::pair<const char*, bool> cases[] = {
        {";\r\nCAP a\r\n", true},
        {"\n\nCAP a\n", true},
        {"   TRA 0: 1.000 Hz, 2.000 dBc\n", true},
        {"EOF\n", true},
        {"1,-90,-100\n", false},
        {"Offset,Level,Floor\n1,2,3\n", false},
        {"CSV,1\n", false},
        {"", false},
        {"\xef\xbb\xbf;\n", false},
    };
    for (const auto& [bytes, plot] : cases) EXPECT_EQ(isPlotFile(bytes), plot) << bytes;
}

}  // namespace
}  // namespace csv2pnp
