#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/input_bytes.h"
#include "platform/host.h"
#include "recording_host.h"
#include "scratch_dir.h"

namespace csv2pnp {
namespace {

class SystemHost : public test::ScratchDir {};

// The host's own calls: a file written whole reads back, a directory lists its regular files
// and the current directory is the one the process is in.
TEST_F(SystemHost, WritesListsAndTellsTheDirectory) {
    const Host host = systemHost();
    EXPECT_FALSE(writeWholeFile(host, "a.txt", "one\r\ntwo"));
    std::filesystem::create_directory("sub");
    EXPECT_EQ(test::readFile("a.txt"), "one\r\ntwo");
    EXPECT_EQ(host.regularFilesIn(host.context, ""), std::vector<std::string>{"a.txt"});
    EXPECT_EQ(host.currentDirectory(host.context), std::filesystem::current_path().string());
    EXPECT_GE(host.now(host.context).year, 2026);
    const double start = host.elapsed(host.context);
    EXPECT_GE(host.elapsed(host.context), start);
}

// Whatever step fails, writing a whole file names the file, and every opened file is closed.
TEST(HostWrites, EachFailingStepIsAProblemNamingTheFile) {
    const struct {
        test::HostFault fault;
        ProblemKind kind;
    } cases[] = {
        {{test::HostCall::create, "out.svg"}, ProblemKind::notCreated},
        {{test::HostCall::write, "out.svg", 3}, ProblemKind::notWritten},
        {{test::HostCall::close, "out.svg"}, ProblemKind::notWritten},
    };
    for (const auto& c : cases) {
        test::RecordingHost host;
        host.inMemory = true;
        host.faults.push_back(c.fault);
        std::optional<Problem> problem = writeWholeFile(host.seam(), "out.svg", "<svg/>");
        ASSERT_TRUE(problem);
        EXPECT_EQ(problem->kind, c.kind);
        EXPECT_EQ(describe(*problem), "out.svg: could not be written");
        EXPECT_TRUE(host.everyFileClosed());
    }
}

}  // namespace
}  // namespace csv2pnp
