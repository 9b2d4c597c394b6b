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

std::string lineOf(const std::string& bytes, std::size_t index) {
    std::vector<std::string> lines = crlfLines(bytes);
    if (index < lines.size()) return lines[index];
    ADD_FAILURE() << "no line " << index << ": the file has " << lines.size() << " lines";
    return "";
}

std::size_t occurrences(const std::string& text, const std::string& part) {
    std::size_t n = 0;
    for (std::size_t at = 0; (at = text.find(part, at)) != std::string::npos; at += part.size()) ++n;
    return n;
}

}  // namespace csv2pnp::test
