#include "files/base_name.h"

namespace csv2pnp {

std::string baseNameOf(const std::string& path) {
    std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

}  // namespace csv2pnp
