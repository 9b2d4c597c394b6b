// Values with SI prefixes, read from the command line and written for people, the same
// on every host.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace csv2pnp {

// "10", "1k", "1K", "12k", "1.5M", "20M", "100m", optionally followed by "Hz": a positive
// finite value.
std::optional<double> parseSiValue(std::string_view text);

// The value with the given number of significant digits, trailing zeros kept ("4.0430");
// far from 1 (below 1e-6 or from 1e9 on) in scientific notation ("2.5823e+28").
std::string significant(double value, int digits);

// The value as short as it reads back exactly ("0.1", "2.5e-07").
std::string plainNumber(double value);

// The value in scientific notation with the given significant digits ("1.000e-11").
std::string scientificText(double value, int digits);

// The value with a fixed number of decimals ("-119.86").
std::string withDecimals(double value, int decimals);

// A figure: the value scaled to a prefix from f to T, with the given significant digits,
// trailing zeros kept, then the unit: "64.346 fs", "971.00 ps". Beyond the prefixes in
// scientific notation ("4.4722e-20 s").
std::string figureWithPrefix(double value, std::string_view unit, int digits);

// A label: the value scaled to a prefix, rounded to the given significant digits (or as
// short as it reads back exactly when there are none), trailing zeros left off: "10 MHz",
// "1.5 kHz", "12.589 kHz". Beyond the prefixes in scientific notation ("1e-20 Hz").
std::string withPrefix(double value, std::string_view unit, int digits = 0);

// withPrefix's label as a chart draws it, with the micro sign (U+00B5) instead of "u":
// "100 \u00b5Hz", "10 \u00b5s". The console and the JSON keep the plain "u".
std::string drawnWithPrefix(double value, std::string_view unit, int digits = 0);

// A measured frequency such as a carrier, to the digits that matter: rounded to 1 mHz and to at
// most 12 significant digits, trailing zeros left off, with a prefix: "62.500002321 MHz",
// "10 MHz", "1.0000000001 GHz".
std::string frequencyText(double hertz);

}  // namespace csv2pnp
