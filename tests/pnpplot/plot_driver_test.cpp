#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "faulty_files.h"
#include "plot_runs.h"
#include "scratch_dir.h"

namespace csv2pnp {
namespace {

class PlotDriver : public test::ScratchDir {
protected:
    // The arguments split at spaces.
    test::ToolRun run(const std::string& arguments, const FileSystem& files = hostFileSystem()) {
        std::vector<std::string> words;
        std::istringstream split(arguments);
        for (std::string word; split >> word;) words.push_back(word);
        return test::runPlotDriver(words, files);
    }
};

TEST_F(PlotDriver, ExitStatusesAndMessages) {
    test::writeFile("good.csv", "10,-100,-110\n100,-120,-130\n");
    test::writeFile("bad.pnp", ";\nCAR 0 Hz, 3dBm\n   TRA 0: 10 Hz\n");
    test::ToolRun partly = run("good.csv missing.csv bad.pnp");
    EXPECT_EQ(partly.status, 1);
    EXPECT_EQ(partly.err, "pnpplot: missing.csv: cannot be opened\npnpplot: bad.pnp: line 3: a TRA line that does not parse\n");
    EXPECT_EQ(partly.out.rfind("Chart written to good.csv.svg\n", 0), 0u);

    const std::pair<const char*, const char*> usageErrors[] = {
        {"-x good.csv", "pnpplot: unknown option in '-x'\n"},
        {"-r 10:5 good.csv", "pnpplot: -r '10:5' is not a range F1:F2 of offsets in Hz\n"},
        {"-c abc good.csv", "pnpplot: -c 'abc' is not a frequency in Hz\n"},
        {"-c", "pnpplot: option -c needs a value\n"},
        {"-o", "pnpplot: option -o needs a value\n"},
        {"", "pnpplot: no input file\n"},
    };
    for (const auto& [arguments, message] : usageErrors) {
        test::ToolRun usage = run(arguments);
        EXPECT_EQ(usage.status, 2) << arguments;
        EXPECT_EQ(usage.err, std::string(message) + "Try 'pnpplot --help'.\n") << arguments;
        EXPECT_EQ(usage.out, "") << arguments;
    }

    std::filesystem::remove("good.csv.svg");
    test::ToolRun piped = run("-o - good.csv");
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out.rfind("<?xml", 0), 0u);
    EXPECT_EQ(piped.out.find("Chart written"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists("good.csv.svg"));

    test::ToolRun nothing = run("missing.csv");
    EXPECT_EQ(nothing.status, 1);
    EXPECT_EQ(nothing.err, "pnpplot: missing.csv: cannot be opened\npnpplot: nothing to draw\n");

    EXPECT_EQ(run("--help").out.rfind("Usage: pnpplot [options] FILE...\n", 0), 0u);
    EXPECT_EQ(run("-t --help --version").out, std::string("pnpplot ") + PNPPLOT_VERSION + "\n");
}

// Each failure of the file system, injected in-process: the message, the status, and
// what is still drawn.
TEST_F(PlotDriver, FileSystemFailures) {
    test::writeFile("a.csv", "10,-100,-110\n100,-120,-130\n");
    test::writeFile("b.csv", "10,-90,-100\n100,-110,-120\n");
    const struct {
        test::FileFault fault;
        int status;
        std::string err;
        bool chartWritten;
    } cases[] = {
        {{test::FileCall::open, "a.csv", 0}, 1, "pnpplot: a.csv: cannot be opened\n", true},
        {{test::FileCall::read, "b.csv", 5}, 1, "pnpplot: b.csv: could not be read to its end\n", true},
        {{test::FileCall::read, ".csv", 0}, 1,
         "pnpplot: a.csv: could not be read to its end\npnpplot: b.csv: could not be read to its end\n"
         "pnpplot: nothing to draw\n", false},
        {{test::FileCall::create, "chart.svg", 0}, 1, "pnpplot: chart.svg: could not be written\n", false},
        {{test::FileCall::write, "chart.svg", 100}, 1, "pnpplot: chart.svg: could not be written\n", false},
        {{test::FileCall::close, "chart.svg", 0}, 1, "pnpplot: chart.svg: could not be written\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        std::filesystem::remove("chart.svg");
        test::FaultyFiles files;
        files.faults.push_back(c.fault);
        test::ToolRun drawn = run("-o chart.svg a.csv b.csv", files.seam());
        EXPECT_EQ(drawn.status, c.status);
        EXPECT_EQ(drawn.err, c.err);
        EXPECT_EQ(drawn.out.rfind("Chart written to chart.svg\n", 0) == 0, c.chartWritten) << drawn.out;
        EXPECT_TRUE(files.everyFileClosed());
    }
}

}  // namespace
}  // namespace csv2pnp
