#include <string>

#include <gtest/gtest.h>

#include "scratch_dir.h"

namespace csv2pnp {
namespace {

const std::string bannerLine = "PN2060 CSV to Zembrik GPIB Toolkit noise plot file converter Quelvane V0.1\n";

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

}  // namespace
}  // namespace csv2pnp
