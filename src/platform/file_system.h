// The one way the programs reach files: opening, reading, writing and closing, through a
// table of calls with a context, so that a test can stand in for the host and fail any of
// them in-process, on every build.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace csv2pnp {

struct FileSystem {
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
};

// The host's own calls.
FileSystem hostFileSystem();

// An output opened through a file system, as a writer holds it.
struct OpenOutput {
    const FileSystem* files;
    OutputFile file;
};

std::optional<OpenOutput> createOutput(const FileSystem& files, const std::string& path);
bool writeOutput(OpenOutput& output, std::string_view bytes);
bool closeOutput(OpenOutput& output);

// Creates the file, writes the bytes and closes it; false when any step failed.
bool writeWholeFile(const FileSystem& files, const std::string& path, std::string_view bytes);

}  // namespace csv2pnp
