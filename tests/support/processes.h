// The built programs run as a user runs them, in the current directory.
#pragma once

#include <string>
#include <vector>

namespace csv2pnp::test {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

// A program's name and arguments as main receives them, for drivers run in this process.
struct ArgumentVector {
    std::vector<std::string> words;
    std::vector<const char*> pointers;

    ArgumentVector(const std::string& program, std::vector<std::string> arguments);
    int count() const { return static_cast<int>(pointers.size()); }
    const char* const* values() const { return pointers.data(); }
};

// Runs a program with simple arguments (no quoting), its standard input piped from the
// shell command feed when one is given. Console text is given with LF line ends.
ToolRun runProgram(const std::string& program, const std::string& arguments, const std::string& feed = "");

// Runs the built csv2pnp so.
ToolRun runTool(const std::string& arguments, const std::string& feed = "");

}  // namespace csv2pnp::test
