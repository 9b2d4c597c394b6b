#include <string>

#include <gtest/gtest.h>

#include "files/input_bytes.h"
#include "recording_host.h"

namespace csv2pnp {
namespace {

// An input is read to its end, whatever the pieces the host delivers; a read that fails
// part-way gives no bytes at all; the file is closed either way.
TEST(InputBytes, WholeOrNothing) {
    const std::string bytes(200000, 'x');
    const struct {
        std::optional<test::HostFault> fault;
        std::optional<ProblemKind> kind;
        const char* text;
    } cases[] = {
        {std::nullopt, std::nullopt, ""},
        {test::HostFault{test::HostCall::read, "a.csv", bytes.size() + 1}, std::nullopt, ""},
        {test::HostFault{test::HostCall::read, "a.csv", 70000}, ProblemKind::notRead,
         "a.csv: could not be read to its end"},
        {test::HostFault{test::HostCall::read, "a.csv", 0}, ProblemKind::notRead,
         "a.csv: could not be read to its end"},
        {test::HostFault{test::HostCall::open, "a.csv"}, ProblemKind::notOpened, "a.csv: cannot be opened"},
    };
    for (const auto& c : cases) {
        test::RecordingHost host;
        host.inMemory = true;
        host.files["a.csv"] = bytes;
        if (c.fault) host.faults.push_back(*c.fault);
        Result<std::string> read = readInputBytes("a.csv", host.seam());
        EXPECT_EQ(read ? *read.value : "", c.kind ? "" : bytes);
        EXPECT_EQ(read ? std::nullopt : std::optional<ProblemKind>(read.problem->kind), c.kind);
        EXPECT_EQ(read ? "" : describe(*read.problem), c.text);
        EXPECT_TRUE(host.everyFileClosed());
    }
    test::RecordingHost empty;
    empty.inMemory = true;
    EXPECT_EQ(readInputBytes("missing.csv", empty.seam()).problem->kind, ProblemKind::notOpened);
}

}  // namespace
}  // namespace csv2pnp
