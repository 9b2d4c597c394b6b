#include <string>

#include <gtest/gtest.h>

#include "conversion_runs.h"
#include "lines.h"
#include "processes.h"
#include "scratch_dir.h"

namespace csv2pnp {
namespace {

const std::string bannerLine = test::bannerLine();

class Program : public test::ScratchDir {};

TEST_F(Program, ExitStatusesAndStreams) {
    test::ToolRun help = test::runTool("-h");
    EXPECT_EQ(help.status, 0);
    EXPECT_EQ(help.out.rfind(bannerLine + "Usage is ", 0), 0u) << help.out;
    EXPECT_EQ(help.err, "");

    test::ToolRun output = test::runTool("-o name");
    EXPECT_EQ(output.status, 1);
    EXPECT_EQ(output.out, bannerLine);
    EXPECT_NE(output.err.find("   -v     verbose\n"), std::string::npos) << output.err;
}

TEST_F(Program, ConvertsAnExportInTheCurrentDirectory) {
    test::writeFile("osc.csv", "1,-60,-75\r\n10,-90,-105\r\n100,-110,-125\r\n");
    test::ToolRun run = test::runTool("osc.csv");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, bannerLine + "Read file = osc.csv (3 rows)\nWrite PN data to PNP-file = .\\osc.csv.pnp\n" +
                           "Write PN floor data to PNP-file = .\\osc.csv.img.pnp\nDone!\n");
    std::vector<std::string> data = test::crlfLines(test::readFile("osc.csv.pnp"));
    std::vector<std::string> imaginary = test::crlfLines(test::readFile("osc.csv.img.pnp"));
    ASSERT_EQ(data.size(), 31u);
    ASSERT_EQ(imaginary.size(), data.size());
    EXPECT_EQ(data[26], "   TRA 0: 10000010.000 Hz, -90.000 dBc");
    EXPECT_EQ(imaginary[29], "   TRA 0: 10000100.000 Hz, -125.000 dBc");
    EXPECT_EQ(data.back().rfind("EOF ", 0), 0u);
}

TEST_F(Program, MissingInputIsNotAFailure) {
    test::ToolRun run = test::runTool("nothere.csv");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out, bannerLine + "Could not open nothere.csv\nDone!\n");
}

#ifdef _WIN32
TEST_F(Program, ReadsTheNullDevice) {
    test::ToolRun run = test::runTool("NUL");
    EXPECT_EQ(run.status, 0);
    EXPECT_EQ(run.out.rfind(bannerLine + "Read file = NUL (0 rows)\n", 0), 0u) << run.out;
}

// The command prompt hands patterns over as typed; the tool expands them itself.
TEST_F(Program, ExpandsWildcardsInFileOperands) {
    std::filesystem::create_directories("in/sub.csv");
    for (const char* name : {"in/b.csv", "in/A.CSV", "in/c.txt"}) test::writeFile(name, "1,-2,-3\n");
    test::ToolRun run = test::runTool("-v in\\*.csv none*.csv");
    EXPECT_EQ(run.status, 0);
    const std::string file = "File to convert: ";
    EXPECT_NE(run.out.find("Carrier frequency: 10000000 Hz\n" + file + "in\\A.CSV\n" +
                           test::convertedMessages("in\\A.CSV", "A.CSV", 1) + file + "in\\b.csv\n" +
                           test::convertedMessages("in\\b.csv", "b.csv", 1) + file +
                           "none*.csv\nCould not open none*.csv\nDone!\n"),
              std::string::npos)
        << run.out;
}
#else
TEST_F(Program, ReadsPipesAndDevices) {
    test::ToolRun null = test::runTool("/dev/null");
    EXPECT_EQ(null.status, 0);
    EXPECT_EQ(null.out, bannerLine + test::convertedMessages("/dev/null", "null", 0) + "Done!\n");
    EXPECT_EQ(test::crlfLines(test::readFile("null.img.pnp")).size(), 22u);

    test::ToolRun piped = test::runTool("/dev/stdin", "printf '5,-80,-90\\n10,-90,-100\\n'");
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out, bannerLine + test::convertedMessages("/dev/stdin", "stdin", 2) + "Done!\n");
    EXPECT_EQ(test::lineOf(test::readFile("stdin.pnp"), 25), "   TRA 0: 10000010.000 Hz, -90.000 dBc");
}
#endif

}  // namespace
}  // namespace csv2pnp
