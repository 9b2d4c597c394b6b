#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "fixed_clock.h"
#include "memory_plot_files.h"
#include "csv2pnp/plot_files.h"
#include "scratch_dir.h"
#include "table/cell_value.h"
#include "table/csv_table_reader.h"
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
TEST(TraceReader, RoundTripOfTheSampleExport) {
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

TEST(TraceReader, PlotFileLinesAndTheirErrors) {
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
    }
}

TEST(TraceReader, KindIsToldByContent) {
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

TEST(TraceReader, ExportRowsMakeTwoTraces) {
    const std::string csv =
        "Offset,Level,Floor\n"  // no number in cell 0: left out
        "100,-120,-130\n"
        "10,-100,-110\n"  // out of order: points go by offset
        "1000,-140\n"     // no floor cell
        "2000,x,-150\n"   // no number in the level cell
        "0,-90,-95\n"     // offset 0 cannot stand on a log axis
        "-5,-90,-95\n"
        "3000,nan,inf\n"
        "\n";
    Result<std::vector<Trace>> read = readTraces(csv, "data/run1.csv");
    ASSERT_TRUE(read);
    ASSERT_EQ(read.value->size(), 2u);
    const Trace& noise = read.value->at(0);
    const Trace& floor = read.value->at(1);
    EXPECT_EQ(noise.caption, "run1.csv phase noise");
    EXPECT_EQ(floor.caption, "run1.csv floor");
    EXPECT_FALSE(noise.floor);
    EXPECT_TRUE(floor.floor);
    EXPECT_EQ(noise.group, floor.group);
    EXPECT_FALSE(noise.carrier);
    auto offsets = [](const Trace& t) {
        std::vector<double> values;
        for (const TracePoint& p : t.points) values.push_back(p.offset);
        return values;
    };
    EXPECT_EQ(offsets(noise), (std::vector<double>{10, 100, 1000}));
    EXPECT_EQ(offsets(floor), (std::vector<double>{10, 100, 2000}));
    EXPECT_EQ(noise.points[0].level, -100);
    EXPECT_EQ(noise.leftOut, 3u);
    EXPECT_EQ(floor.leftOut, 3u);

    EXPECT_EQ(readTraces("Offset,Level\n", "h.csv").problem->text, "holds no trace");
    EXPECT_EQ(readTraces("0,-1,-2\n", "z.csv").problem->text, "holds no point that can be drawn");
}

// What the reader warns of, per input: each input below holds traces that can be drawn.
TEST(TraceReader, WarnsOfWhatLooksWrong) {
    const struct {
        std::string bytes;
        std::vector<std::string> warnings;
    } cases[] = {
        {"10,-100,-110\n100,-120,-130\n", {}},
        // Decimal commas: "-119,86" splits into -119 and 86.
        {"10,-119,86,-131,53\n100,-143,70,-157,4\n1000,-153,80,-168,80\n",
         {"dir/x.csv: x.csv floor: most levels are above 0 dBc/Hz, which no measured phase noise is; decimal commas "
          "(-119,86) "
          "split each level into two cells"}},
        {"10;-100;-110\n100;-120;-130\n1000,-130,-140\n",
         {"dir/x.csv: most rows hold a single cell: pnpplot reads comma-separated exports, and this one seems to be "
          "separated by "
          "something else (semicolons, tabs)"}},
        // Equal offsets: the last of them stands.
        {"100,-90,-100\n100,-95,-105\n1000,-100,-110\n",
         {"dir/x.csv: x.csv phase noise: 1 point is at an offset given again later; the last of equal offsets is used",
          "dir/x.csv: x.csv floor: 1 point is at an offset given again later; the last of equal offsets is used"}},
    };
    for (const auto& c : cases) {
        Result<std::vector<Trace>> read = readTraces(c.bytes, "dir/x.csv");
        ASSERT_TRUE(read) << c.bytes;
        std::vector<std::string> warnings;
        for (const Warning& warning : read.warnings) warnings.push_back(describe(warning));
        EXPECT_EQ(warnings, c.warnings) << c.bytes;
    }
    // A byte-order mark does not cost the first row.
    EXPECT_EQ(readTraces("\xef\xbb\xbf"
                         "1,-90,-100\n10,-120,-130\n",
                         "x.csv")
                  .value->front()
                  .points.size(),
              2u);
    Result<std::vector<Trace>> repeated = readTraces("100,-90,-100\n100,-95,-105\n1000,-100,-110\n", "x.csv");
    ASSERT_TRUE(repeated);
    EXPECT_EQ(repeated.value->front().points.size(), 2u);
    EXPECT_EQ(repeated.value->front().points[0].level, -95);
    EXPECT_EQ(repeated.value->front().repeated, 1u);
}

}  // namespace
}  // namespace csv2pnp
