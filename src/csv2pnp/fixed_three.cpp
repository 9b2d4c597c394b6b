#include "csv2pnp/fixed_three.h"

#include <array>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace csv2pnp {

namespace {

// Below 2^52 the text has at most 16 integer digits, a sign, the point and three decimals.
constexpr std::ptrdiff_t longestShortText = 24;

// "00" to "99", two characters each.
constexpr char digitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// ".000" to ".999", four characters each: the point and three decimals in one piece.
constexpr std::array<char, 4000> pointAndDecimals = [] {
    std::array<char, 4000> table{};
    for (int n = 0; n < 1000; ++n) {
        table[static_cast<std::size_t>(4 * n)] = '.';
        table[static_cast<std::size_t>(4 * n + 1)] = static_cast<char>('0' + n / 100);
        table[static_cast<std::size_t>(4 * n + 2)] = static_cast<char>('0' + n / 10 % 10);
        table[static_cast<std::size_t>(4 * n + 3)] = static_cast<char>('0' + n % 10);
    }
    return table;
}();

// Writes the digits of n backwards, ending just before end, and returns where they begin;
// two at a time, in 32 bits once n fits there, as the integer part of a frequency does.
char* writeDigitsBefore(char* end, std::uint64_t n) {
    for (; n >> 32 != 0; n /= 100) {
        end -= 2;
        std::memcpy(end, digitPairs + 2 * (n % 100), 2);
    }
    auto small = static_cast<std::uint32_t>(n);
    for (; small >= 100; small /= 100) {
        end -= 2;
        std::memcpy(end, digitPairs + 2 * (small % 100), 2);
    }
    if (small >= 10) {
        end -= 2;
        std::memcpy(end, digitPairs + 2 * small, 2);
    } else {
        *--end = static_cast<char>('0' + small);
    }
    return end;
}

}  // namespace

char* toFixedThree(char* first, char* last, double value) {
    std::uint64_t bits;
    std::memcpy(&bits, &value, sizeof bits);
    const int exponentField = static_cast<int>((bits >> 52) & 0x7ff);
    const std::uint64_t fraction = bits & ((std::uint64_t{1} << 52) - 1);
    // value = mantissa * 2^exponent exactly.
    const std::uint64_t mantissa = exponentField == 0 ? fraction : fraction | std::uint64_t{1} << 52;
    const int exponent = exponentField == 0 ? -1074 : exponentField - 1075;
    // From 2^52 on (and for inf and nan) the general printer is exact and rare enough.
    if (exponent >= 0) return std::to_chars(first, last, value, std::chars_format::fixed, 3).ptr;

    // value * 1000 = mantissa * 1000 / 2^shift, and mantissa * 1000 < 2^63: the thousandths
    // are the quotient, rounded to nearest, a tie to even, as printf rounds. Adding just
    // under a half, and one more when the quotient is odd, rounds without a branch: a
    // remainder above the half carries, one below does not, and the half itself carries
    // only from an odd quotient. The sum stays below 2^64.
    const std::uint64_t scaled = mantissa * 1000;
    const int shift = -exponent;
    std::uint64_t thousandths = 0;
    if (shift < 64) {
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        thousandths = (scaled + (half - 1) + ((scaled >> shift) & 1)) >> shift;
    }  // else scaled < 2^63 <= half: rounds to zero

    // The text is made from its end backwards in a piece of the stack, then copied in one
    // move of fixed size when there is room for it, which is nearly always.
    const std::uint64_t whole = thousandths / 1000;
    char text[2 * longestShortText] = {};
    char* const textEnd = text + longestShortText;
    std::memcpy(textEnd - 4, pointAndDecimals.data() + 4 * (thousandths - 1000 * whole), 4);
    char* start = writeDigitsBefore(textEnd - 4, whole);
    if (bits >> 63) *--start = '-';
    const auto length = static_cast<std::size_t>(textEnd - start);
    if (last - first >= longestShortText) {
        std::memcpy(first, start, longestShortText);
    } else {
        std::memcpy(first, start, length);
    }
    return first + length;
}

}  // namespace csv2pnp
