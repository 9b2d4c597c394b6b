#include "table/cell_value.h"

#include <algorithm>
#include <charconv>
#include <cstddef>
#include <cstdint>
#include <limits>
#include <optional>
#include <string_view>
#include <system_error>

namespace csv2pnp {

namespace {

bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

int digitValue(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return 99;
}

bool isDigitIn(char c, int base) { return digitValue(c) < base; }

// from_chars leaves the value alone when it lies beyond the doubles, where atof gives
// infinity for a large one and zero for a tiny one. The two are told apart by the place of
// the first non-zero digit plus the exponent: positive above the doubles, negative below.
bool liesAboveTheDoubles(const char* at, const char* end, int base) {
    const long long limit = 1LL << 40;  // far beyond any exponent that could be in range
    long long magnitude = 0;
    bool seenNonZero = false, afterPoint = false;
    for (; at < end && (isDigitIn(*at, base) || (*at == '.' && !afterPoint)); ++at) {
        if (*at == '.') {
            afterPoint = true;
        } else if (seenNonZero || *at != '0') {
            seenNonZero = true;
            if (!afterPoint && magnitude < limit) ++magnitude;
        } else if (afterPoint && magnitude > -limit) {
            --magnitude;
        }
    }
    magnitude = (magnitude - 1) * (base == 16 ? 4 : 1);
    char exponentMark = base == 16 ? 'p' : 'e';
    if (at < end && (*at | 0x20) == exponentMark) {
        ++at;
        bool negative = at < end && *at == '-';
        if (at < end && (*at == '-' || *at == '+')) ++at;
        long long exponent = 0;
        for (; at < end && isDigitIn(*at, 10); ++at) exponent = std::min(exponent * 10 + (*at - '0'), limit);
        magnitude += negative ? -exponent : exponent;
    }
    return magnitude >= 0;
}

// The number at the front of text, without a sign of its own; nothing when there is none.
std::optional<double> unsignedNumber(const char* at, const char* end) {
    double value = 0;
    bool hex = end - at >= 2 && at[0] == '0' && (at[1] | 0x20) == 'x';
    // from_chars would take a sign or "inf" here, where C reads just the leading 0.
    if (hex && (end - at < 3 || !(isDigitIn(at[2], 16) || at[2] == '.'))) hex = false;
    if (!hex && at < end && *at == '-') return std::nullopt;
    const char* digits = hex ? at + 2 : at;
    auto [stop, error] = std::from_chars(digits, end, value, hex ? std::chars_format::hex : std::chars_format::general);
    if (error == std::errc::invalid_argument) {
        // "0x" followed by no hexadecimal number reads as its 0.
        if (hex) return 0.0;
        return std::nullopt;
    }
    if (error == std::errc::result_out_of_range) {
        return liesAboveTheDoubles(digits, end, hex ? 16 : 10) ? std::numeric_limits<double>::infinity() : 0.0;
    }
    return value;
}

// The shortcut's bounds: below 10^15 every integer is a double, and so is every power of
// ten up to 10^22 (5^22 < 2^53).
constexpr int shortDigits = 15;
constexpr int shortPowers = 22;
constexpr double powersOfTen[shortPowers + 1] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                                 1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};

// The digit a character stands for; above 9 for any other character.
unsigned digitOf(char c) { return static_cast<unsigned>(static_cast<unsigned char>(c)) - unsigned{'0'}; }

// Steps over the digits at the front of text, appending them to the integer (which wraps
// when there are too many, where the shortcut gives up anyway).
const char* takeDigits(const char* at, const char* end, std::uint64_t& digits) {
    for (; at != end; ++at) {
        const unsigned digit = digitOf(*at);
        if (digit > 9) break;
        digits = digits * 10 + digit;
    }
    return at;
}

// The number the shortcut read and where it ended; no end when the shortcut left it.
struct ShortRead {
    double value;
    const char* end;
};

inline ShortRead shortDecimalAt(const char* at, const char* end) {
    const ShortRead left{0, nullptr};
    const char* const start = at;
    std::uint64_t digits = 0;
    at = takeDigits(at, end, digits);
    // The value is digits * 10^exponent.
    std::ptrdiff_t count = at - start;
    std::ptrdiff_t exponent = 0;
    if (at != end && *at == '.') {
        const char* const fraction = at + 1;
        at = takeDigits(fraction, end, digits);
        exponent = fraction - at;
        count -= exponent;
    } else if (count == 1 && digits == 0 && at != end && (*at | 0x20) == 'x') {
        return left;  // "0x" starts a hexadecimal number, which only the general reader reads
    }
    // Leading zeros count too: so few spellings have them beyond the bound that the general
    // reader can have those.
    if (count == 0 || count > shortDigits) return left;
    // An exponent counts only with a digit in it: "1e+" reads as 1.
    if (at != end && (*at | 0x20) == 'e') {
        const char* mark = at + 1;
        const bool negative = mark != end && *mark == '-';
        if (mark != end && (*mark == '-' || *mark == '+')) ++mark;
        if (mark != end && digitOf(*mark) <= 9) {
            std::ptrdiff_t written = 0;
            // Beyond the bound any exponent leaves the shortcut's range, so its digits need
            // no more than to be stepped over.
            for (; mark != end && digitOf(*mark) <= 9; ++mark) {
                if (written < 100000) written = written * 10 + static_cast<std::ptrdiff_t>(digitOf(*mark));
            }
            exponent += negative ? -written : written;
            at = mark;
        }
    }
    if (digits == 0) return ShortRead{0, at};
    if (exponent < -shortPowers || exponent > shortPowers) return left;
    const auto whole = static_cast<double>(digits);
    return ShortRead{exponent < 0 ? whole / powersOfTen[-exponent] : whole * powersOfTen[exponent], at};
}

const char* afterSpaceAndSign(const char* at, const char* end, bool& negative) {
    // Most cells start with a minus sign or a digit.
    negative = at != end && *at == '-';
    if (negative) return at + 1;
    if (at != end && digitOf(*at) <= 9) return at;
    while (at < end && isSpace(*at)) ++at;
    negative = at < end && *at == '-';
    if (at < end && (*at == '-' || *at == '+')) ++at;
    return at;
}

// White space, a sign, then the number read by the shortcut when it can, otherwise by
// std::from_chars.
template <bool shortcut>
std::optional<double> signedNumber(std::string_view cell) {
    const char* end = cell.data() + cell.size();
    bool negative;
    const char* at = afterSpaceAndSign(cell.data(), end, negative);
    std::optional<double> value;
    if (shortcut) {
        if (ShortRead read = shortDecimalAt(at, end); read.end) value = read.value;
    }
    if (!value) value = unsignedNumber(at, end);
    if (!value) return std::nullopt;
    return negative ? -*value : *value;
}

// Reads the cell at the front of text, which ends at its first comma or with it: sets the
// cell's value as cellValue gives it and returns the cell's length.
std::size_t readLeadingCell(std::string_view text, double& value) {
    const char* const begin = text.data();
    const char* const end = begin + text.size();
    bool negative;
    const char* at = afterSpaceAndSign(begin, end, negative);
    const ShortRead read = shortDecimalAt(at, end);
    if (!read.end) {
        const std::size_t length = std::min(text.find(',', static_cast<std::size_t>(at - begin)), text.size());
        value = cellNumberByFromChars(text.substr(0, length)).value_or(0.0);
        return length;
    }
    // No number spelling holds a comma, so the shortcut read the cell's number, and the cell
    // ends at the first comma from there: most often right there.
    value = negative ? -read.value : read.value;
    if (read.end == end || *read.end == ',') return static_cast<std::size_t>(read.end - begin);
    return std::min(text.find(',', static_cast<std::size_t>(read.end - begin)), text.size());
}

}  // namespace

std::optional<double> cellNumber(std::string_view cell) { return signedNumber<true>(cell); }

std::optional<double> cellNumberByFromChars(std::string_view cell) { return signedNumber<false>(cell); }

std::optional<double> shortDecimal(std::string_view text, std::size_t* length) {
    ShortRead read = shortDecimalAt(text.data(), text.data() + text.size());
    if (!read.end) return std::nullopt;
    if (length) *length = static_cast<std::size_t>(read.end - text.data());
    return read.value;
}

std::size_t nextCellValues(CellCursor& cursor, double* values, std::size_t count) {
    std::size_t read = 0;
    for (; read < count && !cursor.done; ++read) {
        const std::size_t length = readLeadingCell(cursor.rest, values[read]);
        if (length == cursor.rest.size()) {
            cursor.done = true;
        } else {
            cursor.rest.remove_prefix(length + 1);
            // A comma at the end of the line closes the last cell; no empty cell follows it.
            cursor.done = cursor.rest.empty();
        }
    }
    return read;
}

// No number at all gives +0, whatever sign stood before it.
double cellValue(std::string_view cell) { return cellNumber(cell).value_or(0.0); }

}  // namespace csv2pnp
