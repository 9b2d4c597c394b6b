#include "problems/problem.h"

namespace csv2pnp {

namespace {

std::string where(const std::string& file, std::size_t line) {
    std::string text = file.empty() ? "" : file + ": ";
    if (line > 0) text += "line " + std::to_string(line) + ": ";
    return text;
}

}  // namespace

std::string describe(const Problem& problem) { return where(problem.file, problem.line) + problem.text; }

std::string describe(const Warning& warning) { return where(warning.file, warning.line) + warning.text; }

}  // namespace csv2pnp
