// Reads the whole of an input: a regular file, a pipe or a device.
#pragma once

#include <string>

#include "platform/file_system.h"

namespace csv2pnp {

enum class InputStatus { read, notOpened, readFailed };

struct InputBytes {
    InputStatus status;
    std::string bytes;  // complete only when read
};

// Reads whatever the path opens as, except a directory, to its end in one pass. A read
// error part-way gives no bytes, never a short part of them.
InputBytes readInputBytes(const std::string& path, const FileSystem& files);

}  // namespace csv2pnp
