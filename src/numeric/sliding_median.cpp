#include "numeric/sliding_median.h"

#include <algorithm>
#include <utility>

namespace csv2pnp {

namespace {

constexpr std::uint64_t bit(std::size_t at) { return std::uint64_t{1} << (at & 63); }

int lowestBit(std::uint64_t bits) { return __builtin_ctzll(bits); }
int highestBit(std::uint64_t bits) { return 63 - __builtin_clzll(bits); }

// The lowest rank the window holds above `rank`, or distinct.size() if none.
std::size_t nextHeld(const SlidingMedian& window, std::size_t rank) {
    const std::size_t none = window.distinct.size(), at = rank + 1;
    if (at >= none) return none;
    std::size_t word = at / 64;
    if (std::uint64_t bits = window.words[word] & (~std::uint64_t{0} << (at & 63))) {
        return word * 64 + static_cast<std::size_t>(lowestBit(bits));
    }
    if (++word >= window.words.size()) return none;
    std::size_t group = word / 64;
    std::uint64_t bits = window.groups[group] & (~std::uint64_t{0} << (word & 63));
    while (bits == 0) {
        if (++group >= window.groups.size()) return none;
        bits = window.groups[group];
    }
    word = group * 64 + static_cast<std::size_t>(lowestBit(bits));
    return word * 64 + static_cast<std::size_t>(lowestBit(window.words[word]));
}

// The highest rank the window holds below `rank`, which is above 0, or distinct.size() if none.
std::size_t previousHeld(const SlidingMedian& window, std::size_t rank) {
    const std::size_t none = window.distinct.size(), at = rank - 1;
    std::size_t word = at / 64;
    if (std::uint64_t bits = window.words[word] & (~std::uint64_t{0} >> (63 - (at & 63)))) {
        return word * 64 + static_cast<std::size_t>(highestBit(bits));
    }
    if (word-- == 0) return none;
    std::size_t group = word / 64;
    std::uint64_t bits = window.groups[group] & (~std::uint64_t{0} >> (63 - (word & 63)));
    while (bits == 0) {
        if (group-- == 0) return none;
        bits = window.groups[group];
    }
    word = group * 64 + static_cast<std::size_t>(highestBit(bits));
    return word * 64 + static_cast<std::size_t>(highestBit(window.words[word]));
}

}  // namespace

SlidingMedian::SlidingMedian(const std::vector<double>& values) : rank(values.size()) {
    std::vector<std::pair<double, std::uint32_t>> sorted(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) sorted[i] = {values[i], static_cast<std::uint32_t>(i)};
    std::sort(sorted.begin(), sorted.end(), [](const auto& a, const auto& b) { return a.first < b.first; });
    for (const auto& [value, at] : sorted) {
        if (distinct.empty() || distinct.back() < value) distinct.push_back(value);
        rank[at] = static_cast<std::uint32_t>(distinct.size() - 1);
    }
    count.assign(distinct.size(), 0);
    words.assign((distinct.size() + 63) / 64, 0);
    groups.assign((words.size() + 63) / 64, 0);
}

void SlidingMedian::moveTo(std::size_t newFrom, std::size_t newTo) {
    for (; to < newTo; ++to) {
        const std::size_t r = rank[to];
        if (count[r]++ == 0) {
            words[r / 64] |= bit(r);
            groups[r / 4096] |= bit(r / 64);
        }
        below += r < middle;
    }
    for (; from < newFrom; ++from) {
        const std::size_t r = rank[from];
        if (--count[r] == 0) {
            words[r / 64] &= ~bit(r);
            if (words[r / 64] == 0) groups[r / 4096] &= ~bit(r / 64);
        }
        below -= r < middle;
    }
}

double SlidingMedian::median() {
    // The median is the k-th lowest number, k = count / 2 + 1: the rank with fewer than k
    // numbers below it and at least k at or below it.
    const std::size_t k = (to - from) / 2 + 1;
    while (below >= k) {
        middle = previousHeld(*this, middle);
        below -= count[middle];
    }
    while (below + count[middle] < k) {
        below += count[middle];
        middle = nextHeld(*this, middle);
    }
    return distinct[middle];
}

}  // namespace csv2pnp
