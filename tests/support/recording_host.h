// A host for tests: it records every call, fails any call a test asks it to, and keeps its
// files either on disk (the host's own calls) or in memory. Its clock is the fixed test clock.
// It keeps its state in itself, so tests need no globals.
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "fixed_clock.h"
#include "platform/host.h"

namespace csv2pnp::test {

enum class HostCall { open, read, create, write, close, list, currentDirectory, browse };

// Fails one kind of call on the paths that end with pathEnd ("" for every path). A read or
// write fails once afterBytes bytes of that file got through; a failing write still hands
// the bytes before that point on, as a full disk would.
struct HostFault {
    HostCall call;
    const char* pathEnd;
    std::size_t afterBytes = 0;
};

struct RecordingHost {
    std::vector<HostFault> faults;
    // "open a.csv", "create out.svg", "close a.csv", "list data/", "browse a.html" (opened as a
    // double-click does), "wait for a key"; a refused call ends in ": refused".
    std::vector<std::string> calls;
    UtcTime time = fixedClock();
    // The steady clock: each reading moves it on by clockStep seconds from 0.
    double clockStep = 0;
    double clock = 0;
    // Whether standard error is a terminal.
    bool terminal = false;
    // Whether the program has a console of its own, as when files are dropped on it.
    bool ownConsole = false;
    // With recordWrites each write is a call too: "write <path>: <bytes>".
    bool recordWrites = false;

    // With inMemory the files are these, by path, and nothing reaches the disk; the current
    // directory is workingDirectory.
    bool inMemory = false;
    std::map<std::string, std::string> files;
    std::string workingDirectory = "C:\\work";

    // Whether every file that opened or was created was closed again, once.
    bool everyFileClosed() const;

    // The seam to hand to a driver; it points at this object, which must outlive it.
    Host seam();

    // What the seam keeps of each open file: its path and how many bytes went through.
    struct OpenFile {
        std::string path;
        std::size_t bytes = 0;
    };
    std::map<int, OpenFile> inputs, outputs;
    int nextHandle = 1000;
};

}  // namespace csv2pnp::test
