// Text from the inputs made safe to stand in an SVG or HTML file.
#pragma once

#include <string>
#include <string_view>

namespace csv2pnp {

// The bytes as UTF-8 (utf8Text), with the characters XML reserves escaped and every
// character XML 1.0 does not allow (control characters, U+FFFE, U+FFFF) replaced by U+FFFD,
// so that any bytes give well-formed text.
std::string xmlText(std::string_view bytes);

}  // namespace csv2pnp
