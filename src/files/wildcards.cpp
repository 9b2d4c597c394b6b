#include "files/wildcards.h"

#include <algorithm>

namespace csv2pnp {

namespace {

char folded(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool lessByName(const std::string& a, const std::string& b) {
    auto foldedLess = [](char x, char y) {
        return static_cast<unsigned char>(folded(x)) < static_cast<unsigned char>(folded(y));
    };
    if (std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(), foldedLess)) return true;
    if (std::lexicographical_compare(b.begin(), b.end(), a.begin(), a.end(), foldedLess)) return false;
    return a < b;
}

}  // namespace

bool matchesWildcard(std::string_view name, std::string_view pattern) {
    // Greedy match with backtracking to the last "*": linear in practice, never exponential.
    std::size_t n = 0, p = 0;
    std::size_t starAt = std::string_view::npos, resumeAt = 0;
    while (n < name.size()) {
        if (p < pattern.size() && pattern[p] == '*') {
            starAt = p++;
            resumeAt = n;
        } else if (p < pattern.size() && (pattern[p] == '?' || folded(pattern[p]) == folded(name[n]))) {
            ++p;
            ++n;
        } else if (starAt != std::string_view::npos) {
            p = starAt + 1;
            n = ++resumeAt;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') ++p;
    return p == pattern.size();
}

std::vector<std::string> expandWildcards(const std::string& operand, const Host& host) {
    // The directory part ends at the last separator, or at a drive's colon as in "C:*.csv".
    std::size_t split = operand.find_last_of("/\\:");
    std::size_t nameStart = split == std::string::npos ? 0 : split + 1;
    std::string directory = operand.substr(0, nameStart);
    std::string_view pattern = std::string_view(operand).substr(nameStart);
    if (pattern.find_first_of("*?") == std::string_view::npos) return {operand};

    std::vector<std::string> names = host.regularFilesIn(host.context, directory);
    names.erase(std::remove_if(names.begin(), names.end(),
                               [&](const std::string& name) { return !matchesWildcard(name, pattern); }),
                names.end());
    if (names.empty()) return {operand};
    std::sort(names.begin(), names.end(), lessByName);
    for (std::string& name : names) name.insert(0, directory);
    return names;
}

}  // namespace csv2pnp
