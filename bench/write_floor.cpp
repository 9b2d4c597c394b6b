// The floor for any correct conversion: writes the lines of the two given plot files
// again, one write call per line, alternating between the files as the converter does.
// Usage: write_floor DATA.pnp IMAGINARY.pnp OUT_DIR
#include <fcntl.h>
#include <unistd.h>

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

namespace {

std::vector<std::string> linesOf(const char* path) {
    std::ifstream file(path, std::ios::binary);
    std::string bytes((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    std::vector<std::string> lines;
    for (std::size_t start = 0, end; (end = bytes.find('\n', start)) != std::string::npos; start = end + 1) {
        lines.push_back(bytes.substr(start, end + 1 - start));
    }
    return lines;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 4) return 2;
    std::vector<std::string> data = linesOf(argv[1]);
    std::vector<std::string> imaginary = linesOf(argv[2]);
    std::string dir = argv[3];
    int dataFd = open((dir + "/floor.pnp").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    int imaginaryFd = open((dir + "/floor.img.pnp").c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (dataFd < 0 || imaginaryFd < 0) return 1;
    for (std::size_t i = 0; i < data.size() || i < imaginary.size(); ++i) {
        if (i < data.size() && write(dataFd, data[i].data(), data[i].size()) < 0) return 1;
        if (i < imaginary.size() && write(imaginaryFd, imaginary[i].data(), imaginary[i].size()) < 0) return 1;
    }
    return close(dataFd) | close(imaginaryFd);
}
