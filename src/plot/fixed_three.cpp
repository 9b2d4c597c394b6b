#include "plot/fixed_three.h"

#include <charconv>
#include <cstdint>
#include <cstring>

namespace csv2pnp {

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
    // are the quotient, rounded by the remainder exactly as printf rounds.
    const std::uint64_t scaled = mantissa * 1000;
    const int shift = -exponent;
    std::uint64_t thousandths = 0;
    if (shift < 64) {
        thousandths = scaled >> shift;
        const std::uint64_t rest = scaled & ((std::uint64_t{1} << shift) - 1);
        const std::uint64_t half = std::uint64_t{1} << (shift - 1);
        if (rest > half || (rest == half && (thousandths & 1) != 0)) ++thousandths;
    }  // else scaled < 2^63 <= half: rounds to zero

    // The digits are made from the last one backwards, two at a time, then copied out.
    static constexpr char pairs[] =
        "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
        "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
        "8081828384858687888990919293949596979899";
    char digits[24];
    char* start = digits + sizeof digits;
    const auto decimals = static_cast<unsigned>(thousandths % 1000);
    *--start = static_cast<char>('0' + decimals % 10);
    start -= 2;
    std::memcpy(start, pairs + 2 * (decimals / 10), 2);
    *--start = '.';
    std::uint64_t whole = thousandths / 1000;
    for (; whole >= 100; whole /= 100) {
        start -= 2;
        std::memcpy(start, pairs + 2 * (whole % 100), 2);
    }
    if (whole >= 10) {
        start -= 2;
        std::memcpy(start, pairs + 2 * whole, 2);
    } else {
        *--start = static_cast<char>('0' + whole);
    }
    if (bits >> 63) *--start = '-';
    const auto length = static_cast<std::size_t>(digits + sizeof digits - start);
    std::memcpy(first, start, length);
    return first + length;
}

}  // namespace csv2pnp
