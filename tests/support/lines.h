// Lines of the bytes a test got back.
#pragma once

#include <string>
#include <vector>

namespace csv2pnp::test {

// The lines of a plot file, each ended by CR LF; any bytes after the last CR LF fail the test.
std::vector<std::string> crlfLines(const std::string& bytes);

// The line of that index (from 0) of such bytes; a file with fewer lines fails the test and
// gives "", so that a failing case never reads past the end.
std::string lineOf(const std::string& bytes, std::size_t index);

// How many times the part stands in the text, not overlapping.
std::size_t occurrences(const std::string& text, const std::string& part);

}  // namespace csv2pnp::test
