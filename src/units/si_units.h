// Values with SI prefixes, read from the command line and written for people, the same
// on every host.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace csv2pnp {

// "10", "1k", "12k", "1.5M", "20M", "100m", optionally followed by "Hz": a positive finite value.
std::optional<double> parseSiValue(std::string_view text);

// The value with the given number of significant digits, trailing zeros kept ("4.0430").
std::string significant(double value, int digits);

// The value with a fixed number of decimals ("-119.86").
std::string withDecimals(double value, int decimals);

// The value scaled to a prefix from f to T, then the unit: "64.346 fs", "10 MHz", "1.5 kHz".
// Rounded to the given significant digits when there are any, trailing zeros left off.
std::string withPrefix(double value, std::string_view unit, int digits = 0);

}  // namespace csv2pnp
