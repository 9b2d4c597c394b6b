// The documents' examples, run as a reader would run them: every command a `console` block of
// the README and the guide shows is run in a scratch directory that holds the examples, with
// the built programs on the PATH, and the output the block shows must be what it prints. A
// block shows "$ command" lines, each followed by the lines it prints; a line "..." stands for
// any number of lines left out. The blocks of a document run in order in one directory, so a
// command may use what an earlier one wrote. And the charts the documents show are what
// scripts/make-doc-images.sh draws from the examples today.
#include <filesystem>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "processes.h"
#include "scratch_dir.h"

namespace csv2pnp {
namespace {

namespace fs = std::filesystem;

#ifndef _WIN32  // the examples run in a POSIX shell
struct Example {
    std::size_t line;                // of the command in the document, from 1
    std::string command;             // continuation lines joined
    std::vector<std::string> shown;  // the output as the document shows it
};

std::vector<std::string> linesOf(const std::string& text) {
    std::vector<std::string> lines;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        lines.push_back(line);
    }
    return lines;
}

// The commands of the document's console blocks, each with the output shown under it.
std::vector<Example> examplesOf(const std::string& document) {
    std::vector<Example> examples;
    const std::vector<std::string> lines = linesOf(document);
    bool inBlock = false;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const std::string& line = lines[i];
        if (line.rfind("```", 0) == 0) {
            inBlock = !inBlock && line == "```console";
            continue;
        }
        if (!inBlock) continue;
        if (line.rfind("$ ", 0) == 0) {
            Example example{i + 1, line.substr(2), {}};
            while (!example.command.empty() && example.command.back() == '\\' && i + 1 < lines.size()) {
                example.command.back() = '\n';
                example.command += lines[++i];
            }
            examples.push_back(example);
        } else if (!examples.empty()) {
            examples.back().shown.push_back(line);
        }
    }
    return examples;
}

// Where the shown lines part from what was printed, or "" when every shown line is printed, in
// order, the lines between two shown lines left out only where a "..." stands.
std::string mismatch(const std::vector<std::string>& shown, const std::vector<std::string>& printed) {
    std::size_t at = 0;
    bool skipping = false;
    for (const std::string& line : shown) {
        if (line == "...") {
            skipping = true;
            continue;
        }
        std::size_t found = at;
        if (skipping) {
            while (found < printed.size() && printed[found] != line) ++found;
        }
        if (found >= printed.size() || printed[found] != line) {
            return "shown:   " + line + "\nprinted: " + (at < printed.size() ? printed[at] : "(nothing more)");
        }
        at = found + 1;
        skipping = false;
    }
    if (!skipping && at < printed.size()) return "printed more than shown, from: " + printed[at];
    return "";
}
#endif

class Documentation : public test::ScratchDir {};

TEST_F(Documentation, EveryExampleShowsWhatItPrints) {
#ifdef _WIN32
    GTEST_SKIP() << "the documents' examples are POSIX shell commands";
#else
    const fs::path source(SOURCE_DIR);
    const std::string programs = fs::path(PNPPLOT_EXE).parent_path().string();
    std::size_t run = 0;
    for (const char* name : {"README.md", "doc/guide.md"}) {
        const std::vector<Example> examples = examplesOf(test::readFile((source / name).string()));
        // Each document starts afresh, in a directory of its own holding the examples.
        const fs::path home = dir / fs::path(name).stem();
        fs::create_directories(home);
        fs::copy(source / "examples", home / "examples", fs::copy_options::recursive);
        // One shell runs the document's commands in order, a marker line before each.
        std::string script = "cd '" + home.string() + "' || exit 1\nPATH='" + programs + "':\"$PATH\"\n";
        for (std::size_t i = 0; i < examples.size(); ++i) {
            script += "echo '@@ " + std::to_string(i) + "'\n{ " + examples[i].command + "\n} 2>&1\n";
        }
        test::writeFile("examples.sh", script);
        const test::ToolRun ran = test::runProgram("/bin/sh", "examples.sh");
        std::vector<std::vector<std::string> > printed(examples.size());
        std::size_t current = examples.size();
        for (const std::string& line : linesOf(ran.out)) {
            if (line.rfind("@@ ", 0) == 0) {
                current = std::stoul(line.substr(3));
            } else if (current < printed.size()) {
                printed[current].push_back(line);
            }
        }
        for (std::size_t i = 0; i < examples.size(); ++i) {
            const std::string where = mismatch(examples[i].shown, printed[i]);
            EXPECT_EQ(where, "") << name << ":" << examples[i].line << ": $ " << examples[i].command << "\n" << where;
        }
        run += examples.size();
    }
    EXPECT_GT(run, 0u);
    std::cout << "[ examples ] " << run << " commands run and compared\n";
#endif
}

// The charts are drawn again, as the script draws them, and must be the documents' own.
TEST_F(Documentation, ChartsAreCurrent) {
#ifdef _WIN32
    GTEST_SKIP() << "scripts/make-doc-images.sh is a POSIX shell script";
#else
    const fs::path source(SOURCE_DIR);
    const test::ToolRun drawn = test::runProgram(
        "/bin/sh", (source / "scripts/make-doc-images.sh").string() + " --svg " + dir.string() + " " + PNPPLOT_EXE);
    ASSERT_EQ(drawn.status, 0) << drawn.out << drawn.err;
    std::size_t charts = 0;
    for (const fs::directory_entry& entry : fs::directory_iterator(dir)) {
        if (entry.path().extension() != ".svg") continue;
        ++charts;
        EXPECT_TRUE(test::readFile(entry.path().string()) ==
                    test::readFile((source / "doc" / entry.path().filename()).string()))
            << "doc/" << entry.path().filename().string() << " is not current: run scripts/make-doc-images.sh";
    }
    EXPECT_GT(charts, 0u);
#endif
}

}  // namespace
}  // namespace csv2pnp
