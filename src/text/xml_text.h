// Text from the inputs made safe to stand in an SVG file.
#pragma once

#include <string>
#include <string_view>

namespace csv2pnp {

// Escapes the characters XML reserves and replaces with U+FFFD every byte that is not part
// of valid UTF-8 and every character XML 1.0 does not allow (control characters, U+FFFE,
// U+FFFF), so that any bytes give well-formed text.
std::string xmlText(std::string_view bytes);

}  // namespace csv2pnp
