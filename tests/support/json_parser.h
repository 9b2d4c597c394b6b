// A real JSON parser for the tests: Python's json module, run on a file.
#pragma once

#include <optional>
#include <string>

namespace csv2pnp::test {

// Whether python3 is there to parse with.
bool haveJsonParser();

// Parses the file as strict JSON (NaN and infinity refused, UTF-8) into d and prints what
// the Python expression gives, one line per item when it is a list. Nothing when the file
// does not parse.
std::optional<std::string> queryJson(const std::string& file, const std::string& expression);

}  // namespace csv2pnp::test
