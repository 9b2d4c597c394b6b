#include "lines.h"

#include <gtest/gtest.h>

namespace csv2pnp::test {

std::vector<std::string> crlfLines(const std::string& bytes) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = bytes.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(bytes.substr(start, end - start));
    }
    EXPECT_EQ(start, bytes.size()) << "bytes after the last CR LF";
    return lines;
}

}  // namespace csv2pnp::test
