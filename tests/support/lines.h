// Lines of the bytes a test got back.
#pragma once

#include <string>
#include <vector>

namespace csv2pnp::test {

// The lines of a plot file, each ended by CR LF; any bytes after the last CR LF fail the test.
std::vector<std::string> crlfLines(const std::string& bytes);

}  // namespace csv2pnp::test
