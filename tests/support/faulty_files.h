// A file system for tests: every call goes to the host's, except those a test makes fail,
// and every call is recorded. It keeps its state in itself, so tests need no globals.
#pragma once

#include <cstddef>
#include <map>
#include <string>
#include <vector>

#include "platform/file_system.h"

namespace csv2pnp::test {

enum class FileCall { open, read, create, write, close };

// Fails one kind of call on the files whose paths end with pathEnd ("" for every file).
// A read or write fails once afterBytes bytes of that file got through; a failing write
// still hands the bytes before that point to the host, as a full disk would.
struct FileFault {
    FileCall call;
    const char* pathEnd;
    std::size_t afterBytes;
};

struct FaultyFiles {
    std::vector<FileFault> faults;
    // "open a.csv", "create out.svg", "close a.csv"; a refused call ends in ": refused".
    std::vector<std::string> calls;

    // Whether every file that opened or was created was closed again, once.
    bool everyFileClosed() const;

    // The seam to hand to a driver; it points at this object, which must outlive it.
    FileSystem seam();

    // What the seam keeps of each open file.
    std::map<int, std::string> inputPaths, outputPaths;
    std::map<int, std::size_t> inputBytes, outputBytes;
};

}  // namespace csv2pnp::test
