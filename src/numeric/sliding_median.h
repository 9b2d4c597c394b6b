// The median of a window that slides along a sequence of numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace csv2pnp {

// A window over a sequence of finite numbers whose two ends only ever move up. Each number is
// counted under its rank among the sequence's distinct numbers, and the median's rank is kept
// from one move to the next: a move costs what it takes the median to reach its new rank past
// the ranks the window does not hold, one step when it holds the ranks near its median, and
// distinct / 4096 steps at worst, against the window's length to sort it out again.
struct SlidingMedian {
    explicit SlidingMedian(const std::vector<double>& values);
    // Moves the window to the numbers from..to - 1, neither end below where it was.
    void moveTo(std::size_t from, std::size_t to);
    // The median of the window, which holds a number: of an even count the higher middle one.
    double median();

    std::vector<double> distinct;       // the sequence's distinct numbers, ascending
    std::vector<std::uint32_t> rank;    // of each number of the sequence, into distinct
    std::vector<std::uint32_t> count;   // of each rank, the window's numbers of it
    std::vector<std::uint64_t> words;   // bit r % 64 of word r / 64: count[r] > 0
    std::vector<std::uint64_t> groups;  // bit w % 64 of group w / 64: words[w] != 0
    std::size_t from = 0, to = 0;       // the window
    std::size_t middle = 0, below = 0;  // a rank, and the window's numbers of a rank below it
};

}  // namespace csv2pnp
