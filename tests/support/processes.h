// The built programs run as a user runs them, in the current directory.
#pragma once

#include <string>

namespace csv2pnp::test {

struct ToolRun {
    int status;
    std::string out;
    std::string err;
};

// Runs a program with simple arguments (no quoting), its standard input piped from the
// shell command feed when one is given. Console text is given with LF line ends.
ToolRun runProgram(const std::string& program, const std::string& arguments, const std::string& feed = "");

// Runs the built csv2pnp so.
ToolRun runTool(const std::string& arguments, const std::string& feed = "");

}  // namespace csv2pnp::test
