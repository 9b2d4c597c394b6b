#include "units/si_units.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdlib>

namespace csv2pnp {

namespace {

struct Prefix {
    char symbol;  // '\0' for none
    int power;    // of 1000
};

constexpr Prefix prefixes[] = {{'f', -5}, {'p', -4}, {'n', -3}, {'u', -2}, {'m', -1},
                               {'\0', 0}, {'k', 1},  {'M', 2},  {'G', 3},  {'T', 4}};
constexpr int lowestPower = -5, highestPower = 4;

// value * 1000^power, with the exact whole power of 1000 on the side that keeps it exact.
double scaled(double value, int power) {
    double scale = 1;
    for (int i = 0; i < std::abs(power); ++i) scale *= 1000;
    return power < 0 ? value / scale : value * scale;
}

std::string scientific(double value, int digits) {
    char text[64];
    return std::string(text,
                       std::to_chars(text, text + sizeof text, value, std::chars_format::scientific, digits - 1).ptr);
}

// The decimal exponent of the value once rounded to the given significant digits.
int roundedExponent(double value, int digits) {
    std::string written = scientific(value, digits);
    std::size_t mark = written.find('e');
    int exponent = 0;
    if (mark != std::string::npos) {
        std::string_view digitsAfter = std::string_view(written).substr(mark + 1);
        if (!digitsAfter.empty() && digitsAfter.front() == '+') digitsAfter.remove_prefix(1);
        std::from_chars(digitsAfter.data(), digitsAfter.data() + digitsAfter.size(), exponent);
    }
    return exponent;
}

std::string withoutTrailingZeros(std::string number) {
    std::size_t mark = number.find('e');
    std::string exponent = mark == std::string::npos ? "" : number.substr(mark);
    number = number.substr(0, mark);
    if (number.find('.') != std::string::npos) {
        number.erase(number.find_last_not_of('0') + 1);
        if (number.back() == '.') number.pop_back();
    }
    return number + exponent;
}

// The power of 1000 whose prefix shows the value, or nothing beyond the prefixes.
std::optional<int> prefixPowerOf(double value, int digits) {
    if (!std::isfinite(value) || value == 0) return 0;
    int exponent = roundedExponent(std::fabs(value), digits > 0 ? digits : 15);
    int power = exponent >= 0 ? exponent / 3 : -((2 - exponent) / 3);
    if (power < lowestPower || power > highestPower) return std::nullopt;
    return power;
}

std::string shortest(double value) {
    char text[400];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

constexpr std::string_view microSign = "\xc2\xb5";

std::string withUnit(const std::string& number, int power, std::string_view unit, bool drawn = false) {
    std::string result = number + " ";
    for (const Prefix& prefix : prefixes) {
        if (prefix.power != power || prefix.symbol == '\0') continue;
        if (drawn && prefix.symbol == 'u') {
            result += microSign;
        } else {
            result += prefix.symbol;
        }
    }
    return result + std::string(unit);
}

std::string labelWithPrefix(double value, std::string_view unit, int digits, bool drawn) {
    std::optional<int> power = prefixPowerOf(value, digits);
    if (!power)
        return withoutTrailingZeros(digits > 0 ? scientific(value, digits) : shortest(value)) + " " + std::string(unit);
    double inUnits = scaled(value, -*power);
    std::string number = digits > 0 ? withoutTrailingZeros(significant(inUnits, digits)) : shortest(inUnits);
    return withUnit(number, *power, unit, drawn);
}

}  // namespace

std::optional<double> parseSiValue(std::string_view text) {
    double value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || !std::isfinite(value)) return std::nullopt;
    std::string_view rest = text.substr(static_cast<std::size_t>(end - text.data()));
    if (!rest.empty()) {
        char symbol = rest.front() == 'K' ? 'k' : rest.front();
        for (const Prefix& prefix : prefixes) {
            if (prefix.symbol != '\0' && symbol == prefix.symbol) {
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
    int exponent = roundedExponent(value, digits);
    if (exponent < -6 || exponent >= 9) return scientific(value, digits);
    return withDecimals(value, std::max(0, digits - 1 - exponent));
}

std::string plainNumber(double value) { return shortest(value); }

std::string scientificText(double value, int digits) { return scientific(value, digits); }

std::string withDecimals(double value, int decimals) {
    char text[400];
    auto end = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals).ptr;
    return std::string(text, end);
}

std::string figureWithPrefix(double value, std::string_view unit, int digits) {
    std::optional<int> power = prefixPowerOf(value, digits);
    if (!power) return scientific(value, digits) + " " + std::string(unit);
    double inUnits = scaled(value, -*power);
    int exponent = inUnits == 0 || !std::isfinite(inUnits) ? 0 : roundedExponent(std::fabs(inUnits), digits);
    return withUnit(withDecimals(inUnits, std::max(0, digits - 1 - exponent)), *power, unit);
}

std::string withPrefix(double value, std::string_view unit, int digits) {
    return labelWithPrefix(value, unit, digits, false);
}

std::string drawnWithPrefix(double value, std::string_view unit, int digits) {
    return labelWithPrefix(value, unit, digits, true);
}

std::string frequencyText(double hertz) {
    if (!std::isfinite(hertz) || hertz == 0) return withPrefix(hertz, "Hz");
    // The digits down to the millihertz, at least one and at most 12.
    return withPrefix(hertz, "Hz", std::clamp(roundedExponent(std::fabs(hertz), 12) + 4, 1, 12));
}

}  // namespace csv2pnp
