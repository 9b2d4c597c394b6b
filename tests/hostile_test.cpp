// Inputs and surroundings that a user can hit by accident: each gives the documented
// messages and status and touches no file besides the two outputs.
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#ifndef _WIN32
#include <sys/stat.h>
#endif

#include <gtest/gtest.h>

#include "cli/conversion_driver.h"
#include "scratch_dir.h"

namespace csv2pnp {
namespace {

namespace fs = std::filesystem;

const std::string bannerLine = test::bannerLine();

class Hostile : public test::ScratchDir {
protected:
    int run(const std::vector<std::string>& arguments) {
        test::ToolRun result = test::runDriver(arguments);
        out = result.out;
        EXPECT_EQ(result.err, "");
        return result.status;
    }

    std::string out;
};

std::string converted(const std::string& path, const std::string& base, std::size_t rows) {
    return test::convertedMessages(path, base, rows);
}

std::vector<std::string> lines(const std::string& file) { return test::crlfLines(test::readFile(file)); }

TEST_F(Hostile, HugeLineWithoutLineEnd) {
    std::string line(50'000'000, '7');
    line[1] = ',';
    test::writeFile("long.csv", line);
    EXPECT_EQ(run({"long.csv"}), 0);
    EXPECT_EQ(out, bannerLine + converted("long.csv", "long.csv", 1) + "Done!\n");
    EXPECT_EQ(lines("long.csv.pnp").size(), 24u);  // DRG and first DEC from the 7
}

TEST_F(Hostile, AMillionEmptyLines) {
    test::writeFile("empty-lines.csv", "5,-1,-2\n" + std::string(1'000'000, '\n') + "50,-1,-2\n");
    EXPECT_EQ(run({"empty-lines.csv"}), 0);
    EXPECT_EQ(out, bannerLine + converted("empty-lines.csv", "empty-lines.csv", 1'000'002) + "Done!\n");
    // The last row has no previous cell to cross from, so the trace stays empty.
    EXPECT_EQ(lines("empty-lines.csv.pnp").size(), 24u);
}

TEST_F(Hostile, ControlBytesAndByteOrderMark) {
    test::writeFile("nulbytes.csv", std::string("0.5,-1,-2\n1\0" "00,-3\0x,-4\n", 23));
    test::writeFile("ctrlz.csv", "\x1a" "5,-1,-2\n10,-1,-2\n");
    test::writeFile("bom.csv", "\xef\xbb\xbf" "5,-1,-2\n10,-3,-4\n");
    EXPECT_EQ(run({"nulbytes.csv", "ctrlz.csv", "bom.csv"}), 0);
    EXPECT_EQ(out, bannerLine + converted("nulbytes.csv", "nulbytes.csv", 2) + converted("ctrlz.csv", "ctrlz.csv", 0) +
                       converted("bom.csv", "bom.csv", 2) + "Done!\n");
    // A cell's number ends at a NUL byte, as C reads it.
    EXPECT_EQ(lines("nulbytes.csv.pnp")[25], "   TRA 0: 10000001.000 Hz, -3.000 dBc");
    EXPECT_EQ(lines("ctrlz.csv.pnp").size(), 22u);
    // A byte-order mark makes the first offset a text: 0, the lowest band.
    EXPECT_EQ(lines("bom.csv.pnp")[12], "DRG -2,5");
}

TEST_F(Hostile, NamesWithSpacesAndNonAsciiBytes) {
    std::vector<std::string> names{"my sweep 1.csv", "r\xc3\xa9sultat.csv"};
#ifndef _WIN32
    names.push_back("bad\xff\xfe.csv");  // not UTF-8; Windows cannot name such a file
#endif
    for (const std::string& name : names) {
        test::writeFile(name, "5,-1,-2\n10,-3,-4\n");
        EXPECT_EQ(run({name}), 0);
        EXPECT_EQ(out, bannerLine + converted(name, name, 2) + "Done!\n");
        EXPECT_EQ(lines(name + ".img.pnp")[7], "CAP " + name + " (imaginary part)");
    }
}

TEST_F(Hostile, PathsThatAreNotFiles) {
    fs::create_directory("folder.csv");
    EXPECT_EQ(run({"folder.csv", "folder.csv/", "nothere/"}), 0);
    EXPECT_EQ(out, bannerLine + "Could not open folder.csv\nCould not open \nCould not open \nDone!\n");
    EXPECT_EQ(filesHere(), std::vector<std::string>{"folder.csv"});
}

TEST_F(Hostile, SameInputTwiceAndTheSameNameElsewhere) {
    fs::create_directory("other");
    test::writeFile("x.csv", "5,-1,-2\n10,-3,-4\n");
    test::writeFile("other/x.csv", "0.5,-1,-2\n");
    EXPECT_EQ(run({"x.csv", "x.csv"}), 0);
    EXPECT_EQ(lines("x.csv.pnp").size(), 27u);
    EXPECT_EQ(run({"x.csv", "other/x.csv"}), 0);
    EXPECT_EQ(lines("x.csv.pnp")[12], "DRG 0,5");
    EXPECT_EQ(filesHere(), (std::vector<std::string>{"other", "x.csv", "x.csv.img.pnp", "x.csv.pnp"}));
    EXPECT_EQ(test::readFile("other/x.csv"), "0.5,-1,-2\n");
}

#ifndef _WIN32
// A FIFO has no length to size the buffer by: its bytes are read as they come, to the end.
TEST_F(Hostile, FifoDeliveredInPieces) {
    ASSERT_EQ(mkfifo("feed.csv", 0600), 0);
    std::string rows;
    for (int i = 0; i < 100000; ++i) rows += std::to_string(i) + ",-1,-2\n";
    std::thread writer([&rows] {
        std::ofstream fifo("feed.csv", std::ios::binary);
        for (std::size_t at = 0; at < rows.size(); at += 4093) fifo << rows.substr(at, 4093) << std::flush;
    });
    EXPECT_EQ(run({"feed.csv"}), 0);
    writer.join();
    EXPECT_EQ(out, bannerLine + converted("feed.csv", "feed.csv", 100000) + "Done!\n");
    std::vector<std::string> written = lines("feed.csv.pnp");
    ASSERT_GE(written.size(), 2u);
    EXPECT_EQ(written[written.size() - 2], "   TRA 89999: 10099999.000 Hz, -1.000 dBc");
}
#endif

}  // namespace
}  // namespace csv2pnp
