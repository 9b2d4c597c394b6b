#include "table/cell_value.h"

#include <algorithm>
#include <charconv>
#include <limits>
#include <optional>
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

}  // namespace

std::optional<double> cellNumber(std::string_view cell) {
    const char* at = cell.data();
    const char* end = at + cell.size();
    while (at < end && isSpace(*at)) ++at;
    bool negative = at < end && *at == '-';
    if (at < end && (*at == '-' || *at == '+')) ++at;
    std::optional<double> value = unsignedNumber(at, end);
    if (!value) return std::nullopt;
    return negative ? -*value : *value;
}

// No number at all gives +0, whatever sign stood before it.
double cellValue(std::string_view cell) { return cellNumber(cell).value_or(0.0); }

}  // namespace csv2pnp
