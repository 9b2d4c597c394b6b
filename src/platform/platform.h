// The few calls that differ between Windows and POSIX hosts.
#pragma once

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

// The path under which an output named ".\" + name is opened on this host.
std::string outputPath(const std::string& displayName);

}  // namespace csv2pnp
