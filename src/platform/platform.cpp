#include "platform/platform.h"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <ctime>

#ifdef _WIN32
#ifndef NOMINMAX  // libstdc++ defines it on MinGW
#define NOMINMAX
#endif
#define WIN32_LEAN_AND_MEAN
#include <windows.h>
// Some of these need windows.h before them.
#include <conio.h>
#include <direct.h>
#include <objbase.h>
#include <fcntl.h>
#include <io.h>
#include <stdint.h>
#include <share.h>
#include <shellapi.h>
#include <sys/stat.h>
#include <time.h>
#else
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace csv2pnp {

namespace {

UtcTime fromTm(const std::tm& tm) {
    return UtcTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

}  // namespace

double monotonicSeconds() {
    return std::chrono::duration<double>(std::chrono::steady_clock::now().time_since_epoch()).count();
}

#ifdef _WIN32

bool standardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

std::optional<UtcTime> utcTimeAt(long long secondsSince1970) {
    __time64_t time = secondsSince1970;
    std::tm tm{};
    if (_gmtime64_s(&tm, &time) != 0) return std::nullopt;
    return fromTm(tm);
}

UtcTime currentUtcTime() { return utcTimeAt(_time64(nullptr)).value_or(UtcTime{}); }

std::optional<std::string> currentDirectory() {
    char* dir = _getcwd(nullptr, 0);
    if (!dir) return std::nullopt;
    std::string text(dir);
    std::free(dir);
    return text;
}

unsigned int showUtf8OnConsole() {
    const UINT previous = GetConsoleOutputCP();
    if (previous == 0 || previous == CP_UTF8 || !_isatty(_fileno(stdout))) return 0;
    return SetConsoleOutputCP(CP_UTF8) ? previous : 0;
}

void restoreConsole(unsigned int previous) {
    if (previous != 0) SetConsoleOutputCP(previous);
}

bool consoleIsOwn() {
    // With a list of room for one the count is still the whole count; 0 without a console.
    DWORD processes[1];
    return GetConsoleProcessList(processes, 1) == 1 && _isatty(_fileno(stdin)) && _isatty(_fileno(stdout)) &&
           _isatty(_fileno(stderr));
}

bool openAsDesktopDoes(const std::string& path) {
    // The path is in the ANSI code page, as main received it and as _sopen_s takes it.
    const int length = MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, nullptr, 0);
    if (length <= 0) return false;
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    if (MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, wide.data(), length) != length) return false;
    // A handler may be reached through COM; the call returns only once the handler has the
    // file, as the program ends right after.
    const HRESULT com = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    SHELLEXECUTEINFOW open{};
    open.cbSize = sizeof open;
    open.fMask = SEE_MASK_NOASYNC;
    open.lpVerb = L"open";
    open.lpFile = wide.c_str();
    open.nShow = SW_SHOWNORMAL;
    const bool opened = ShellExecuteExW(&open) != FALSE;
    if (SUCCEEDED(com)) CoUninitialize();
    return opened;
}

void waitForKey() { _getch(); }

std::optional<InputFile> openInputFile(const std::string& path) {
    int fd = -1;
    if (_sopen_s(&fd, path.c_str(), _O_RDONLY | _O_BINARY, _SH_DENYNO, 0) != 0) return std::nullopt;
    struct _stat64 info {};
    if (_fstat64(fd, &info) != 0 || (info.st_mode & _S_IFMT) == _S_IFDIR) {
        _close(fd);
        return std::nullopt;
    }
    bool regular = (info.st_mode & _S_IFMT) == _S_IFREG;
    return InputFile{fd, regular ? static_cast<std::size_t>(info.st_size) : 0};
}

long long readInputFile(InputFile file, char* into, std::size_t room) {
    return _read(file.handle, into, static_cast<unsigned>(std::min<std::size_t>(room, 1u << 30)));
}

void closeInputFile(InputFile file) { _close(file.handle); }

std::optional<OutputFile> createOutputFile(const std::string& path) {
    int fd = -1;
    if (_sopen_s(&fd, path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _SH_DENYNO, _S_IREAD | _S_IWRITE) !=
        0) {
        return std::nullopt;
    }
    return OutputFile{fd};
}

bool writeOutputFile(OutputFile file, const char* bytes, std::size_t size) {
    while (size > 0) {
        int wrote = _write(file.handle, bytes, static_cast<unsigned>(std::min<std::size_t>(size, 1u << 30)));
        if (wrote <= 0) return false;
        bytes += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return true;
}

bool closeOutputFile(OutputFile file) { return _close(file.handle) == 0; }

std::string outputPath(const std::string& displayName) { return displayName; }

std::vector<std::string> regularFilesIn(const std::string& directory) {
    std::vector<std::string> names;
    struct __finddata64_t entry {};
    intptr_t search = _findfirst64((directory + "*").c_str(), &entry);
    if (search == -1) return names;
    do {
        if (!(entry.attrib & _A_SUBDIR)) names.emplace_back(entry.name);
    } while (_findnext64(search, &entry) == 0);
    _findclose(search);
    return names;
}

#else

bool standardErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }

std::optional<UtcTime> utcTimeAt(long long secondsSince1970) {
    auto time = static_cast<std::time_t>(secondsSince1970);
    std::tm tm{};
    if (!gmtime_r(&time, &tm)) return std::nullopt;
    return fromTm(tm);
}

UtcTime currentUtcTime() { return utcTimeAt(std::time(nullptr)).value_or(UtcTime{}); }

std::optional<std::string> currentDirectory() {
    std::string buffer(256, '\0');
    for (;;) {
        if (getcwd(buffer.data(), buffer.size())) {
            buffer.resize(std::char_traits<char>::length(buffer.c_str()));
            return buffer;
        }
        if (errno != ERANGE) return std::nullopt;
        buffer.resize(buffer.size() * 2);
    }
}

bool consoleIsOwn() { return false; }

unsigned int showUtf8OnConsole() { return 0; }

void restoreConsole(unsigned int) {}

bool openAsDesktopDoes(const std::string&) { return false; }

void waitForKey() {}

std::optional<InputFile> openInputFile(const std::string& path) {
    int fd;
    do {
        fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    if (fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
        close(fd);
        return std::nullopt;
    }
    return InputFile{fd, S_ISREG(info.st_mode) ? static_cast<std::size_t>(info.st_size) : 0};
}

long long readInputFile(InputFile file, char* into, std::size_t room) {
    ssize_t got;
    do {
        got = read(file.handle, into, room);
    } while (got < 0 && errno == EINTR);
    return got;
}

void closeInputFile(InputFile file) { close(file.handle); }

std::optional<OutputFile> createOutputFile(const std::string& path) {
    int fd;
    do {
        fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0666);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0) return std::nullopt;
    return OutputFile{fd};
}

bool writeOutputFile(OutputFile file, const char* bytes, std::size_t size) {
    while (size > 0) {
        ssize_t wrote = write(file.handle, bytes, size);
        if (wrote < 0 && errno == EINTR) continue;
        if (wrote <= 0) return false;
        bytes += wrote;
        size -= static_cast<std::size_t>(wrote);
    }
    return true;
}

bool closeOutputFile(OutputFile file) { return close(file.handle) == 0; }

std::string outputPath(const std::string& displayName) {
    // ".\" names the current directory only on Windows; here the bare name does.
    return displayName.substr(2);
}

std::vector<std::string> regularFilesIn(const std::string& directory) {
    std::vector<std::string> names;
    DIR* listing = opendir(directory.empty() ? "." : directory.c_str());
    if (!listing) return names;
    while (const dirent* entry = readdir(listing)) {
        struct stat info {};
        if (fstatat(dirfd(listing), entry->d_name, &info, 0) == 0 && S_ISREG(info.st_mode)) {
            names.emplace_back(entry->d_name);
        }
    }
    closedir(listing);
    return names;
}

#endif

}  // namespace csv2pnp
