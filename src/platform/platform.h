// The few calls that differ between Windows and POSIX hosts. The programs reach them through
// the host of host.h, which a test can stand in for.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace csv2pnp {

struct UtcTime {
    int year = 1970;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// A time in seconds since 1970 broken down as UTC; nothing when the host cannot break it
// down. -1 is a real time, the last second of 1969, not a failure.
std::optional<UtcTime> utcTimeAt(long long secondsSince1970);

// The current time broken down as UTC; the epoch when the host cannot break it down.
UtcTime currentUtcTime();

// Seconds on the host's steady clock, from any start.
double monotonicSeconds();

// Whether standard error is a terminal (a console on Windows).
bool standardErrorIsTerminal();

// The current working directory as the host reports it, if it can.
std::optional<std::string> currentDirectory();

// Whether this process has a console of its own that its standard input, output and error all
// use: Explorer started it (files dropped on it, "Send to"), not a shell or a program that
// captures its output. The console then closes when the process ends. Never on POSIX hosts.
bool consoleIsOwn();

// Opens a file as a double-click in Explorer does (an HTML page in the default browser);
// false when the host cannot. Nothing on POSIX hosts, where it is false.
bool openAsDesktopDoes(const std::string& path);

// Waits until a key is pressed on the console; returns at once on POSIX hosts.
void waitForKey();

// Has the console show the program's UTF-8 text as written ("±", "²", "µ") for as long as
// the program runs, and gives what to put back: on Windows the console's output code page,
// which a console keeps after the program ends; 0, nothing to put back, where standard output
// is no console or on POSIX hosts, whose terminals take UTF-8.
unsigned int showUtf8OnConsole();
void restoreConsole(unsigned int previous);

// A file, pipe or device opened for reading in binary mode.
struct InputFile {
    int handle;
    std::size_t sizeHint;  // the length of a regular file when it was opened; 0 for others
};

// Opens whatever the path names for reading, except a directory; nothing when it fails.
std::optional<InputFile> openInputFile(const std::string& path);

// Reads up to room bytes: the count read, 0 at the end, negative on an error.
long long readInputFile(InputFile file, char* into, std::size_t room);

void closeInputFile(InputFile file);

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

// The Windows command prompt hands "*" and "?" to the program unexpanded; POSIX shells
// expand them before the program starts.
#ifdef _WIN32
inline constexpr bool operandsKeepWildcards = true;
#else
inline constexpr bool operandsKeepWildcards = false;
#endif

// The names of the regular files in a directory ("" for the current one), long names on
// Windows; none when it does not open.
std::vector<std::string> regularFilesIn(const std::string& directory);

}  // namespace csv2pnp
