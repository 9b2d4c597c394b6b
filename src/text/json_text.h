// Strings and numbers as JSON (RFC 8259) writes them.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace csv2pnp {

// A quoted JSON string of the bytes read as UTF-8 (utf8Text); quotes, backslashes and
// control characters escaped.
std::string jsonString(std::string_view bytes);

// The shortest form that reads back to the same double; null for NaN and infinity, which
// JSON cannot hold.
std::string jsonNumber(double value);
std::string jsonNumber(std::optional<double> value);

}  // namespace csv2pnp
