// The few calls that differ between Windows and POSIX hosts.
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace csv2pnp {

struct UtcTime {
    int year = 1970;
    int month = 1;   // 1 to 12
    int day = 1;     // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

using UtcClock = UtcTime (*)();

// The current time broken down as UTC; the epoch when the host cannot break it down.
UtcTime currentUtcTime();

// The current working directory as the host reports it, if it can.
std::optional<std::string> currentDirectory();

// The whole content of a regular file, read in binary mode; nothing when the path
// does not open or names anything but a regular file. A read error ends the content.
std::optional<std::string> readRegularFile(const std::string& path);

// A file opened for writing through the host's own calls, with no buffer between.
struct OutputFile {
    int handle;
};

// Creates the file or truncates it; nothing when the host refuses.
std::optional<OutputFile> createOutputFile(const std::string& path);

// Writes all the bytes, retrying short writes; false on the first error.
bool writeOutputFile(OutputFile file, const char* bytes, std::size_t size);

// False when the host reports an error on closing, such as data it could not store.
bool closeOutputFile(OutputFile file);

// The path under which an output named ".\" + name is opened on this host.
std::string outputPath(const std::string& displayName);

}  // namespace csv2pnp
