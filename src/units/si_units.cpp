#include "units/si_units.h"

#include <charconv>
#include <cmath>
#include <algorithm>
#include <cstdlib>

namespace csv2pnp {

namespace {

struct Prefix {
    char symbol;  // '\0' for none
    int power;    // of 1000
};

constexpr Prefix prefixes[] = {{'f', -5}, {'p', -4}, {'n', -3}, {'u', -2}, {'m', -1},
                               {'\0', 0}, {'k', 1},  {'M', 2},  {'G', 3},  {'T', 4}};

// value * 1000^power, with the exact whole power of 1000 on the side that keeps it exact.
double scaled(double value, int power) {
    double scale = 1;
    for (int i = 0; i < std::abs(power); ++i) scale *= 1000;
    return power < 0 ? value / scale : value * scale;
}

// The decimal exponent of the value once rounded to the given significant digits.
int roundedExponent(double value, int digits) {
    char text[64];
    auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, digits - 1).ptr;
    std::string_view written(text, static_cast<std::size_t>(end - text));
    std::size_t mark = written.find('e');
    int exponent = 0;
    if (mark != std::string_view::npos) {
        std::string_view digitsAfter = written.substr(mark + 1);
        if (!digitsAfter.empty() && digitsAfter.front() == '+') digitsAfter.remove_prefix(1);
        std::from_chars(digitsAfter.data(), digitsAfter.data() + digitsAfter.size(), exponent);
    }
    return exponent;
}

}  // namespace

std::optional<double> parseSiValue(std::string_view text) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
    std::string_view rest = text.substr(static_cast<std::size_t>(end - text.data()));
    if (!rest.empty()) {
        for (const Prefix& prefix : prefixes) {
            if (prefix.symbol != '\0' && rest.front() == prefix.symbol) {
                value = scaled(value, prefix.power);
                rest.remove_prefix(1);
                break;
            }
        }
    }
    if (rest == "Hz") rest = {};
    if (!rest.empty() || !(value > 0) || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::string significant(double value, int digits) {
    if (!std::isfinite(value) || value == 0) return withDecimals(value, digits - 1);
    int decimals = std::max(0, digits - 1 - roundedExponent(value, digits));
    return withDecimals(value, decimals);
}

std::string withDecimals(double value, int decimals) {
    char text[400];
    auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
    return std::string(text, end);
}

std::string withPrefix(double value, std::string_view unit, int digits) {
    Prefix chosen = prefixes[5];
    if (std::isfinite(value) && value != 0) {
        int exponent = roundedExponent(std::fabs(value), digits > 0 ? digits : 15);
        int power = exponent >= 0 ? exponent / 3 : -((2 - exponent) / 3);
        for (const Prefix& prefix : prefixes) {
            if (prefix.power == std::clamp(power, -5, 4)) chosen = prefix;
        }
    }
    double inUnits = scaled(value, -chosen.power);
    std::string number;
    if (digits > 0) {
        number = significant(inUnits, digits);
        if (number.find('.') != std::string::npos) {
            number.erase(number.find_last_not_of('0') + 1);
            if (number.back() == '.') number.pop_back();
        }
    } else {
        char text[400];
        number.assign(text, std::to_chars(text, text + sizeof text, inUnits).ptr);
    }
    std::string result = number + " ";
    if (chosen.symbol != '\0') result += chosen.symbol;
    return result + std::string(unit);
}

}  // namespace csv2pnp
