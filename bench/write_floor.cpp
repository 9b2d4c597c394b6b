// The floor for any correct conversion: only the work that no converter can avoid. Each
// expected plot file is read with one large read, its lines are found in place with memchr,
// and each line is handed to the new file with one write call straight from that buffer,
// alternating between the two files as the converter does. Nothing is allocated per line.
// Usage: write_floor DATA.pnp IMAGINARY.pnp OUT_DIR
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

struct Bytes {
    std::unique_ptr<char[]> data;  // left uninitialised: the read fills it
    std::size_t size;
};

bool readWhole(const char* path, Bytes& bytes) {
    int fd = open(path, O_RDONLY);
    struct stat info {};
    if (fd < 0 || fstat(fd, &info) != 0) return false;
    bytes.size = static_cast<std::size_t>(info.st_size);
    bytes.data.reset(new char[bytes.size]);
    std::size_t filled = 0;
    while (filled < bytes.size) {
        ssize_t got = read(fd, bytes.data.get() + filled, bytes.size - filled);
        if (got <= 0) return false;
        filled += static_cast<std::size_t>(got);
    }
    return close(fd) == 0;
}

struct LineSource {
    const char* at;
    const char* end;
    int fd;
};

enum class Step { wrote, atEnd, failed };

Step writeNextLine(LineSource& source) {
    if (source.at == source.end) return Step::atEnd;
    auto lf = static_cast<const char*>(std::memchr(source.at, '\n', static_cast<std::size_t>(source.end - source.at)));
    const char* next = lf ? lf + 1 : source.end;
    if (write(source.fd, source.at, static_cast<std::size_t>(next - source.at)) < 0) return Step::failed;
    source.at = next;
    return Step::wrote;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) return 2;
    Bytes data, imaginary;
    if (!readWhole(argv[1], data) || !readWhole(argv[2], imaginary)) return 1;
    std::string dir = argv[3];
    int dataFd = open((dir + "/floor.pnp").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int imaginaryFd = open((dir + "/floor.img.pnp").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (dataFd < 0 || imaginaryFd < 0) return 1;
    LineSource dataLines{data.data.get(), data.data.get() + data.size, dataFd};
    LineSource imaginaryLines{imaginary.data.get(), imaginary.data.get() + imaginary.size, imaginaryFd};
    for (;;) {
        Step dataStep = writeNextLine(dataLines);
        Step imaginaryStep = writeNextLine(imaginaryLines);
        if (dataStep == Step::failed || imaginaryStep == Step::failed) return 1;
        if (dataStep == Step::atEnd && imaginaryStep == Step::atEnd) break;
    }
    return close(dataFd) | close(imaginaryFd);
}
