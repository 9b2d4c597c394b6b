// Text from the inputs as UTF-8: names and captions may come in the Windows code page.
#pragma once

#include <string>
#include <string_view>

namespace csv2pnp {

// Bytes that are valid UTF-8 stay as they are; any others are read as Windows-1252, the
// code page a Windows program writes captions in, so that "Messung_\xb5_\xe9" shows as
// written. The five bytes Windows-1252 leaves undefined become U+FFFD.
std::string utf8Text(std::string_view bytes);

// The length of the valid UTF-8 sequence at the front of bytes and its code point; 0 when
// the front is not valid UTF-8 (overlong forms, surrogates and values beyond U+10FFFF are not).
std::size_t utf8SequenceAt(std::string_view bytes, char32_t& code);

// Appends the code point in UTF-8.
void appendUtf8(std::string& text, char32_t code);

// The text with A to Z lowered and every other byte as it is, whatever the locale: case as
// file names and keys are compared.
std::string asciiLowerCase(std::string_view text);

}  // namespace csv2pnp
