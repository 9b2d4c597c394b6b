// Reads the whole of an input: a regular file, a pipe or a device.
#pragma once

#include <string>

#include "platform/host.h"

namespace csv2pnp {

// Reads whatever the path opens as, except a directory, to its end in one pass. A read error
// part-way gives no bytes, never a short part of them: the problem says "cannot be opened"
// (notOpened) or "could not be read to its end" (notRead).
Result<std::string> readInputBytes(const std::string& path, const Host& host);

}  // namespace csv2pnp
