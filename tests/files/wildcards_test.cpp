#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "files/wildcards.h"
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
    EXPECT_EQ(expandWildcards("in/*.csv"), (Paths{"in/A.CSV", "in/ab.csv", "in/b.csv"}));
    EXPECT_EQ(expandWildcards("in/?.csv"), (Paths{"in/A.CSV", "in/b.csv"}));
    EXPECT_EQ(expandWildcards("*.csv"), (Paths{"top.csv"}));
    EXPECT_EQ(expandWildcards("in/*.pnp"), (Paths{"in/*.pnp"}));
    EXPECT_EQ(expandWildcards("missing/*.csv"), (Paths{"missing/*.csv"}));
    EXPECT_EQ(expandWildcards("in/b.csv"), (Paths{"in/b.csv"}));
    // Only the last component is a pattern.
    EXPECT_EQ(expandWildcards("i*/b.csv"), (Paths{"i*/b.csv"}));
}

}  // namespace
}  // namespace csv2pnp
