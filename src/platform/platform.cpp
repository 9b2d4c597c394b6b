#include "platform/platform.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>

#ifdef _WIN32
#include <direct.h>
#include <fcntl.h>
#include <io.h>
#include <share.h>
#include <sys/stat.h>
#include <time.h>
#else
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace csv2pnp {

namespace {

UtcTime fromTm(const std::tm& tm) {
    return UtcTime{tm.tm_year + 1900, tm.tm_mon + 1, tm.tm_mday, tm.tm_hour, tm.tm_min, tm.tm_sec};
}

// Reads into a buffer sized from the file's length, so the bytes are held once; what a
// growing file adds meanwhile is appended. readSome returns the count read, 0 at the end
// and a negative number on an error, which ends the content too.
template <typename ReadSome>
std::string readAll(std::size_t expectedSize, ReadSome readSome) {
    std::string bytes(expectedSize, '\0');
    std::size_t filled = 0;
    while (filled < bytes.size()) {
        long long got = readSome(bytes.data() + filled, bytes.size() - filled);
        if (got <= 0) {
            bytes.resize(filled);
            return bytes;
        }
        filled += static_cast<std::size_t>(got);
    }
    char chunk[1 << 16];
    for (;;) {
        long long got = readSome(chunk, sizeof chunk);
        if (got <= 0) return bytes;
        bytes.append(chunk, static_cast<std::size_t>(got));
    }
}

}  // namespace

#ifdef _WIN32

UtcTime currentUtcTime() {
    __time64_t now = _time64(nullptr);
    std::tm tm{};
    if (now == -1 || _gmtime64_s(&tm, &now) != 0) return UtcTime{};
    return fromTm(tm);
}

std::optional<std::string> currentDirectory() {
    char* dir = _getcwd(nullptr, 0);
    if (!dir) return std::nullopt;
    std::string text(dir);
    std::free(dir);
    return text;
}

std::optional<std::string> readRegularFile(const std::string& path) {
    int fd = -1;
    if (_sopen_s(&fd, path.c_str(), _O_RDONLY | _O_BINARY, _SH_DENYNO, 0) != 0) return std::nullopt;
    struct _stat64 info {};
    if (_fstat64(fd, &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) {
        _close(fd);
        return std::nullopt;
    }
    std::string bytes = readAll(static_cast<std::size_t>(info.st_size), [fd](char* into, std::size_t room) {
        return static_cast<long long>(_read(fd, into, static_cast<unsigned>(std::min<std::size_t>(room, 1u << 30))));
    });
    _close(fd);
    return bytes;
}

std::optional<OutputFile> createOutputFile(const std::string& path) {
    int fd = -1;
    if (_sopen_s(&fd, path.c_str(), _O_WRONLY | _O_CREAT | _O_TRUNC | _O_BINARY, _SH_DENYNO, _S_IREAD | _S_IWRITE) != 0) {
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

#else

UtcTime currentUtcTime() {
    std::time_t now = std::time(nullptr);
    std::tm tm{};
    if (now == static_cast<std::time_t>(-1) || !gmtime_r(&now, &tm)) return UtcTime{};
    return fromTm(tm);
}

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

std::optional<std::string> readRegularFile(const std::string& path) {
    int fd = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) return std::nullopt;
    struct stat info {};
    if (fstat(fd, &info) != 0 || !S_ISREG(info.st_mode)) {
        close(fd);
        return std::nullopt;
    }
    std::string bytes = readAll(static_cast<std::size_t>(info.st_size), [fd](char* into, std::size_t room) {
        ssize_t got;
        do {
            got = read(fd, into, room);
        } while (got < 0 && errno == EINTR);
        return static_cast<long long>(got);
    });
    close(fd);
    return bytes;
}

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

#endif

}  // namespace csv2pnp
