#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "lines.h"
#include "memory_plot_files.h"
#include "csv2pnp/decade_records.h"
#include "table/csv_table_reader.h"

namespace csv2pnp {
namespace {

using Lines = std::vector<std::string>;

struct Written {
    Lines data;
    Lines imaginary;
};

// Runs one of the decade operations on the CSV text and returns both files' lines.
template <typename Operation>
Written written(const std::string& csv, Operation operation) {
    MeasurementTable table = parseMeasurementTable(csv);
    test::MemoryPlotFiles files;
    operation(table, files.data, files.imaginary);
    return {test::crlfLines(files.dataBytes()), test::crlfLines(files.imaginaryBytes())};
}

Written trace(const std::string& csv, std::uint32_t carrier = 10000000) {
    return written(csv, [carrier](const MeasurementTable& t, PlotFileWriter& d, PlotFileWriter& i) {
        writeTraceSection(t, carrier, d, i);
    });
}

Lines header(const std::string& csv) {
    Written w = written(csv, [](const MeasurementTable& t, PlotFileWriter& d, PlotFileWriter& i) {
        writeRangeRecord(t, d, i);
        writeDecadeCountRecord(t, d, i);
        writeStartDecadeRecord(t, d, i);
    });
    EXPECT_EQ(w.data, w.imaginary);
    return w.data;
}

const std::string workedExample =
    "5,-80,-90\n8,-85,-95\n10,-90,-100\n20,-95,-105\n50,-100,-110\n100,-110,-120\n200,-115,-125\n";

TEST(DecadeRecords, WorkedExample) {
    EXPECT_EQ(header(workedExample), (Lines{"DRG 1,5", "DCC 3", "DEC 1"}));
    Written w = trace(workedExample);
    EXPECT_EQ(w.data, (Lines{"DEC 1", "NCF 0 dB", "   TRA 0: 10000010.000 Hz, -90.000 dBc",
                             "   TRA 1: 10000020.000 Hz, -95.000 dBc", "   TRA 2: 10000050.000 Hz, -100.000 dBc",
                             "DEC 2", "NCF 0 dB", "   TRA 0: 10000100.000 Hz, -110.000 dBc",
                             "   TRA 1: 10000200.000 Hz, -115.000 dBc"}));
    EXPECT_EQ(w.imaginary, (Lines{"DEC 1", "NCF 0 dB", "   TRA 0: 10000010.000 Hz, -100.000 dBc",
                                  "   TRA 1: 10000020.000 Hz, -105.000 dBc", "   TRA 2: 10000050.000 Hz, -110.000 dBc",
                                  "DEC 2", "NCF 0 dB", "   TRA 0: 10000100.000 Hz, -120.000 dBc",
                                  "   TRA 1: 10000200.000 Hz, -125.000 dBc"}));
}

TEST(DecadeRecords, StartBandsOfTheFirstOffset) {
    const std::pair<const char*, Lines> cases[] = {
        {"0.001,-1,-1\n", {"DRG -2,5", "DEC -2"}},
        {"-5,-1,-1\n", {"DRG -2,5", "DEC -2"}},
        {"0.0099,-1,-1\n", {"DRG -2,5", "DEC -2"}},
        {"0.01,-1,-1\n", {"DRG -1,5", "DEC -1"}},
        {"0.1,-1,-1\n", {"DRG 0,5", "DEC 0"}},
        {"0.99,-1,-1\n", {"DRG 0,5", "DEC 0"}},
        {"1,-1,-1\n", {"DRG 1,5", "DEC 1"}},
        {"9.99,-1,-1\n", {"DRG 1,5", "DEC 1"}},
        {"10,-1,-1\n", {}},
        {"nan,-1,-1\n", {}},
        {"Offset,Level,Floor\n", {"DRG -2,5", "DEC -2"}},
        {"", {}},
        {"\n5,-1,-1\n", {}},
    };
    for (const auto& [csv, expected] : cases) EXPECT_EQ(header(csv), expected) << csv;
}

TEST(DecadeRecords, OneRowHasNoCountAndNoTrace) {
    EXPECT_EQ(header("5,-80,-90\n"), (Lines{"DRG 1,5", "DEC 1"}));
    EXPECT_EQ(trace("5,-80,-90\n").data, Lines{});
}

TEST(DecadeRecords, DecadeCountScan) {
    const std::pair<const char*, const char*> cases[] = {
        // a step across several boundaries counts as one crossing
        {"0.5,-1,-1\n20,-1,-1\n50,-1,-1\n100,-1,-1\n", "DCC 2"},
        // reaching 0.01 again restarts the count
        {"5,-1,-1\n10,-1,-1\n0,-1,-1\n0.005,-1,-1\n0.02,-1,-1\n0.05,-1,-1\n0.07,-1,-1\n0.2,-1,-1\n", "DCC 3"},
        // a second crossing later in the row that started the count gives 0
        {"0.5,0.05,-1\n1,5,-1\n", "DCC 0"},
        // only one boundary ever crossed: no line
        {"5,-1,-1\n20,-1,-1\n30,-1,-1\n", nullptr},
        // a 0.01 crossing in a later cell does not end the scan
        {"1,0,-1\n10,-1,-1\n20,0.5,-1\n100,-1,-1\n", "DCC 1"},
    };
    for (const auto& [csv, expected] : cases) {
        Lines lines = header(csv);
        std::vector<std::string> dcc;
        for (const std::string& line : lines) {
            if (line.rfind("DCC ", 0) == 0) dcc.push_back(line);
        }
        EXPECT_EQ(dcc, expected ? Lines{expected} : Lines{}) << csv;
    }
}

TEST(DecadeRecords, TraceMarkersAndNumbering) {
    // From exactly 10 the first marker is reached at 100.
    EXPECT_EQ(trace("10,-1,-2\n50,-1,-2\n100,-3,-4\n").data,
              (Lines{"DEC 2", "NCF 0 dB", "   TRA 0: 10000100.000 Hz, -3.000 dBc"}));
    // A heading row counts as 0; the next offset crosses 0.01 whatever its value.
    EXPECT_EQ(trace("Offset,L,F\n5,-1,-2\n").data,
              (Lines{"DEC -2", "NCF 0 dB", "   TRA 0: 10000005.000 Hz, -1.000 dBc"}));
    // Falling and repeated offsets write no marker and the numbers run on; past 100000 too.
    EXPECT_EQ(trace("50,-1,-2\n100,-1,-2\n100,-1,-2\n60,-1,-2\n1e6,-1,-2\n2e6,-1,-2\n", 0).data,
              (Lines{"DEC 2", "NCF 0 dB", "   TRA 0: 100.000 Hz, -1.000 dBc", "   TRA 1: 100.000 Hz, -1.000 dBc",
                     "   TRA 2: 60.000 Hz, -1.000 dBc", "DEC 2", "NCF 0 dB", "   TRA 0: 1000000.000 Hz, -1.000 dBc",
                     "   TRA 1: 2000000.000 Hz, -1.000 dBc"}));
    // A level rising across a boundary marks after the row's TRA lines; the next row is 1.
    EXPECT_EQ(
        trace("5,-1,-2\n10,-1,-2\n20,5,-2\n30,5,-2\n", 4294967295u).data,
        (Lines{"DEC 1", "NCF 0 dB", "   TRA 0: 4294967305.000 Hz, -1.000 dBc", "   TRA 1: 4294967315.000 Hz, 5.000 dBc",
               "DEC -2", "NCF 0 dB", "   TRA 1: 4294967325.000 Hz, 5.000 dBc"}));
}

TEST(DecadeRecords, MissingCellsGiveNoLineAndNoCrossing) {
    // A two-column export still gives a complete data file and markers in both files.
    Written two = trace("5,-1\n10,-2\n20,-3\n");
    EXPECT_EQ(two.data, (Lines{"DEC 1", "NCF 0 dB", "   TRA 0: 10000010.000 Hz, -2.000 dBc",
                               "   TRA 1: 10000020.000 Hz, -3.000 dBc"}));
    EXPECT_EQ(two.imaginary, (Lines{"DEC 1", "NCF 0 dB"}));
    // An empty row inside a segment writes nothing but keeps its place in the numbering;
    // the row after it has no previous cell to cross from.
    EXPECT_EQ(
        trace("5,-1,-2\n10,-1,-2\n\n20,-1,-2\n").data,
        (Lines{"DEC 1", "NCF 0 dB", "   TRA 0: 10000010.000 Hz, -1.000 dBc", "   TRA 2: 10000020.000 Hz, -1.000 dBc"}));
    EXPECT_EQ(trace("").data, Lines{});
}

TEST(DecadeRecords, CellsAfterTheThirdCrossToo) {
    // Cells beyond the three that a TRA line carries still mark boundaries, in cell order,
    // but not from a row that lacks them.
    EXPECT_EQ(trace("5,-1,-2,0.005\n10,-1,-2,0.5\n20,-1,-2\n30,-1,-2,50\n40,-1,-2,500,1\n50,-1,-2,5000,2\n").data,
              (Lines{"DEC 1", "NCF 0 dB", "   TRA 0: 10000010.000 Hz, -1.000 dBc", "DEC -2", "NCF 0 dB",
                     "   TRA 1: 10000020.000 Hz, -1.000 dBc", "   TRA 2: 10000030.000 Hz, -1.000 dBc",
                     "   TRA 3: 10000040.000 Hz, -1.000 dBc", "DEC 2", "NCF 0 dB",
                     "   TRA 1: 10000050.000 Hz, -1.000 dBc", "DEC 3", "NCF 0 dB"}));
}

TEST(DecadeRecords, FindUpwardCrossing) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const struct {
        double value, previous;
        std::optional<std::size_t> crossing;
    } cases[] = {{0.01, 0, 0},
                 {10, 9.99, 3},
                 {20, 0.5, 2},
                 {100000, 99999, 7},
                 {1e9, 1e6, std::nullopt},
                 {10, 10, std::nullopt},
                 {5, 20, std::nullopt},
                 {nan, 0, std::nullopt},
                 {5, nan, std::nullopt}};
    for (const auto& c : cases)
        EXPECT_EQ(findUpwardCrossing(c.value, c.previous), c.crossing) << c.value << " " << c.previous;
}

}  // namespace
}  // namespace csv2pnp
