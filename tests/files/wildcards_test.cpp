#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/wildcards.h"
#include "recording_host.h"
#include "scratch_dir.h"

namespace csv2pnp {
namespace {

TEST(Wildcards, MatchLikeWindowsFileNames) {
    const struct {
        const char* name;
        const char* pattern;
        bool matches;
    } cases[] = {
        {"osc1.csv", "*.csv", true},
        {"OSC1.CSV", "*.csv", true},
        {"osc1.csvx", "*.csv", false},
        {"osc1.csv", "osc?.csv", true},
        {"osc12.csv", "osc?.csv", false},
        {"osc.csv", "osc?.csv", false},
        {"a.b.csv", "*.*.csv", true},
        {"abcabd", "*abd", true},
        {"abcabc", "*abd", false},
        {"x", "*", true},
        {"", "*", true},
        {"anything", "**?*", true},
        {"aaaaaaaaaaaaaaaaaaaaaaaaaaaaab", "*a*a*a*a*a*a*a*a*c", false},
    };
    for (const auto& c : cases)
        EXPECT_EQ(matchesWildcard(c.name, c.pattern), c.matches) << c.name << " ~ " << c.pattern;
}

class WildcardOperands : public test::ScratchDir {};

TEST_F(WildcardOperands, ExpandToTheMatchingRegularFilesSortedByName) {
    std::filesystem::create_directories("in/sub.csv");
    for (const char* name : {"in/b.csv", "in/A.CSV", "in/c.txt", "in/ab.csv", "top.csv"}) test::writeFile(name, "");
    using Paths = std::vector<std::string>;
    auto expand = [host = systemHost()](const char* operand) { return expandWildcards(operand, host); };
    EXPECT_EQ(expand("in/*.csv"), (Paths{"in/A.CSV", "in/ab.csv", "in/b.csv"}));
    EXPECT_EQ(expand("in/?.csv"), (Paths{"in/A.CSV", "in/b.csv"}));
    EXPECT_EQ(expand("*.csv"), (Paths{"top.csv"}));
    EXPECT_EQ(expand("in/*.pnp"), (Paths{"in/*.pnp"}));
    EXPECT_EQ(expand("missing/*.csv"), (Paths{"missing/*.csv"}));
    EXPECT_EQ(expand("in/b.csv"), (Paths{"in/b.csv"}));
    // Only the last component is a pattern.
    EXPECT_EQ(expand("i*/b.csv"), (Paths{"i*/b.csv"}));
}

// The directory is listed through the host, on every build: a host that cannot list it leaves
// the pattern as typed.
TEST(WildcardHost, ListsTheDirectoryThroughTheHost) {
    test::RecordingHost host;
    host.inMemory = true;
    host.files = {{"data\\b.csv", ""}, {"data\\A.csv", ""}, {"data\\sub\\c.csv", ""}, {"top.csv", ""}};
    using Paths = std::vector<std::string>;
    EXPECT_EQ(expandWildcards("data\\*.csv", host.seam()), (Paths{"data\\A.csv", "data\\b.csv"}));
    EXPECT_EQ(host.calls, Paths{"list data\\"});
    host.faults.push_back({test::HostCall::list, ""});
    EXPECT_EQ(expandWildcards("*.csv", host.seam()), Paths{"*.csv"});
}

}  // namespace
}  // namespace csv2pnp
