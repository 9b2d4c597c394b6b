// Everything the programs ask of the host: files opened, read, written and closed, the regular
// files of a directory, the current directory and the clock. One table of calls with a
// context, so that a test can stand in for the host, record every call and fail any of them
// in-process, on every build.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/platform.h"
#include "problems/problem.h"

namespace csv2pnp {

struct Host {
    void* context = nullptr;
    // Opens whatever the path names for reading, except a directory.
    std::optional<InputFile> (*openInput)(void* context, const std::string& path) = nullptr;
    // Up to room bytes: the count read, 0 at the end, negative on an error.
    long long (*read)(void* context, InputFile file, char* into, std::size_t room) = nullptr;
    void (*closeInput)(void* context, InputFile file) = nullptr;
    // Creates the file or truncates it.
    std::optional<OutputFile> (*createOutput)(void* context, const std::string& path) = nullptr;
    // All the bytes, or false on the first error.
    bool (*write)(void* context, OutputFile file, const char* bytes, std::size_t size) = nullptr;
    // False when the host reports an error on closing, such as data it could not store.
    bool (*closeOutput)(void* context, OutputFile file) = nullptr;
    // The names of the regular files in a directory ("" for the current one); none when it
    // does not open.
    std::vector<std::string> (*regularFilesIn)(void* context, const std::string& directory) = nullptr;
    // The current working directory, if the host can tell it.
    std::optional<std::string> (*currentDirectory)(void* context) = nullptr;
    // The time now, in UTC.
    UtcTime (*now)(void* context) = nullptr;
    // Seconds on a clock that only moves forward, from any start: how long a run has taken.
    double (*elapsed)(void* context) = nullptr;
    // Whether standard error is a terminal, where a person watches a run's progress.
    bool (*errorIsTerminal)(void* context) = nullptr;
    // Whether the program has a console of its own, which closes when it ends: files were
    // dropped on it in Explorer, no shell started it.
    bool (*consoleIsOwn)(void* context) = nullptr;
    // Opens a file as a double-click does (a report in the default browser); false when it
    // cannot.
    bool (*openAsDesktopDoes)(void* context, const std::string& path) = nullptr;
    // Waits until a key is pressed on the console.
    void (*waitForKey)(void* context) = nullptr;
};

// The host's own calls.
Host systemHost();

// An output opened through a host, as a writer holds it.
struct OpenOutput {
    const Host* host;
    OutputFile file;
    std::string path;
};

Result<OpenOutput> createOutput(const Host& host, const std::string& path);
// Nothing when every byte went out; otherwise the problem, naming the output.
std::optional<Problem> writeOutput(OpenOutput& output, std::string_view bytes);
std::optional<Problem> closeOutput(OpenOutput& output);

// Creates the file, writes the bytes and closes it.
std::optional<Problem> writeWholeFile(const Host& host, const std::string& path, std::string_view bytes);

}  // namespace csv2pnp
