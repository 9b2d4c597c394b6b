#include "scratch_dir.h"

#include <algorithm>
#include <fstream>
#include <random>
#include <sstream>

namespace csv2pnp::test {

void ScratchDir::SetUp() {
    std::random_device random;
    dir = std::filesystem::temp_directory_path() / ("csv2pnp-test-" + std::to_string(random()));
    std::filesystem::create_directories(dir);
    previous = std::filesystem::current_path();
    std::filesystem::current_path(dir);
}

void ScratchDir::TearDown() {
    std::filesystem::current_path(previous);
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
}

std::vector<std::string> ScratchDir::filesHere() const {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(dir))
        names.push_back(entry.path().filename().string());
    std::sort(names.begin(), names.end());
    return names;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(path.c_str(), std::ios::binary | std::ios::trunc);
    file << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream file(path.c_str(), std::ios::binary);
    std::ostringstream bytes;
    bytes << file.rdbuf();
    return bytes.str();
}

}  // namespace csv2pnp::test
