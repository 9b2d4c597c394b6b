#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "csv2pnp/plot_file_writer.h"
#include "memory_plot_files.h"

namespace csv2pnp {
namespace {

// Each line goes to the host as one write with CR LF after it, a line longer than the stack
// buffer too; a pair of records goes whole to the data file, then to the imaginary-part file.
TEST(PlotFileWriter, LinesAreWholeWritesInOrder) {
    test::MemoryPlotFiles files;
    files.recorder.recordWrites = true;
    const std::string longLine(300, 'x');
    writeLine(files.data, "CAP a");
    writeEndedLine(files.imaginary, "already ended\r\n");
    writeBoth(files.data, files.imaginary, {"ATT 0 dB", longLine});
    const std::vector<std::string> writes(files.recorder.calls.begin() + 2, files.recorder.calls.end());
    EXPECT_EQ(writes,
              (std::vector<std::string>{"write data: CAP a\r\n", "write imaginary: already ended\r\n",
                                        "write data: ATT 0 dB\r\n", "write data: " + longLine + "\r\n",
                                        "write imaginary: ATT 0 dB\r\n", "write imaginary: " + longLine + "\r\n"}));
    EXPECT_FALSE(files.data.problem);
}

// The first write that fails is the writer's problem; no later line is tried.
TEST(PlotFileWriter, AFailedWriteStopsTheFile) {
    test::MemoryPlotFiles files;
    files.recorder.faults.push_back({test::HostCall::write, "data", 9});
    for (const char* line : {"CAP a", "CAR 10", "EOF"}) writeLine(files.data, line);
    writeLine(files.imaginary, "CAP a");
    ASSERT_TRUE(files.data.problem);
    EXPECT_EQ(describe(*files.data.problem), "data: could not be written");
    EXPECT_EQ(files.dataBytes(), "CAP a\r\nCA");
    EXPECT_EQ(files.imaginaryBytes(), "CAP a\r\n");
    EXPECT_FALSE(files.imaginary.problem);
}

}  // namespace
}  // namespace csv2pnp
