#include <sstream>
#include <string>

#include <gtest/gtest.h>

#include "pnpplot/plot_help.h"
#include "pnpplot/plot_options.h"
#include "scratch_dir.h"

namespace csv2pnp {
namespace {

// The names an option goes by: "-r", "--dark", or both for --help.
std::vector<std::string> namesOf(const OptionSpec& option) {
    std::vector<std::string> names;
    if (option.letter != '\0') names.push_back(std::string("-") + option.letter);
    if (option.longName) names.emplace_back(option.longName);
    return names;
}

// The man page with roff's escaped hyphens read as hyphens.
std::string manPage() {
    std::string text = test::readFile(std::string(SOURCE_DIR) + "/doc/pnpplot.1.in");
    for (std::size_t at; (at = text.find("\\-")) != std::string::npos;) text.erase(at, 1);
    return text;
}

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

// Whether a line of bold type (.B, .BI, .BR, .RB) of the man page's text names the option as a
// word of its own.
bool inManPage(const std::string& man, const std::string& name) {
    std::istringstream lines(man);
    for (std::string line; std::getline(lines, line);) {
        if (line.rfind(".B", 0) != 0 && line.rfind(".RB", 0) != 0) continue;
        std::istringstream words(line);
        for (std::string word; words >> word;) {
            if (word == name) return true;
        }
    }
    return false;
}

// Every option pnpplot takes is explained in --help, and in the man page, the complete
// reference: in its synopsis and described after it.
TEST(PlotHelp, EveryOptionIsDocumented) {
    const std::string help = plotHelpText, man = manPage();
    const std::size_t synopsis = man.find(".SH SYNOPSIS"), description = man.find(".SH DESCRIPTION");
    ASSERT_LT(synopsis, description);
    for (const OptionSpec& option : plotOptionTable()) {
        for (const std::string& name : namesOf(option)) {
            EXPECT_TRUE(has(help, "\n  " + name + " ") || has(help, "\n  " + name + ",") ||
                        has(help, ", " + name + " "))
                << name << " in --help";
            EXPECT_TRUE(inManPage(man.substr(synopsis, description - synopsis), name))
                << name << " in the man page's synopsis";
            EXPECT_TRUE(inManPage(man.substr(description), name)) << name << " described in the man page";
        }
    }
}

TEST(PlotHelp, FirstLine) { EXPECT_EQ(std::string(plotHelpText).substr(0, 33), "Usage: pnpplot [options] FILE...\n"); }

}  // namespace
}  // namespace csv2pnp
