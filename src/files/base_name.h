// The name of a file without its directory, as both programs name their outputs after it.
#pragma once

#include <string>

namespace csv2pnp {

// The text after the last '/' or '\'; the whole path when it has neither, empty when it
// ends with one. Both separators count on every host, as the path may come from either.
std::string baseNameOf(const std::string& path);

}  // namespace csv2pnp
