#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "text/utf8_text.h"

namespace csv2pnp {
namespace {

// Valid UTF-8 stays; anything else is read as Windows-1252 as a whole, its undefined bytes
// replaced.
TEST(Utf8Text, ValidStaysTheRestIsWindows1252) {
    const std::pair<std::string, std::string> cases[] = {
        {"", ""},
        {"Messung_\xc2\xb5_\xc3\xa9", "Messung_\xc2\xb5_\xc3\xa9"},
        {"Messung_\xb5_\xe9", "Messung_\xc2\xb5_\xc3\xa9"},
        {"\xf0\x9f\x93\xa1", "\xf0\x9f\x93\xa1"},
        {"\x80\x8a\x9c\xa9", "\xe2\x82\xac\xc5\xa0\xc5\x93\xc2\xa9"},
        {"\x81\x8d\x8f\x90\x9d", "\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
        {"overlong\xc0\xaf", "overlong\xc3\x80\xc2\xaf"},
        {"surrogate\xed\xa0\x80", "surrogate\xc3\xad\xc2\xa0\xe2\x82\xac"},
        {"r\xc3\xa9sultat \xff", "r\xc3\x83\xc2\xa9sultat \xc3\xbf"},  // mixed: all Windows-1252
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(utf8Text(bytes), text) << bytes;
    // Every byte on its own reads as one character, and the result is always valid UTF-8.
    for (int byte = 0; byte < 256; ++byte) {
        std::string text = utf8Text(std::string(1, static_cast<char>(byte)));
        char32_t code = 0;
        EXPECT_EQ(utf8SequenceAt(text, code), text.size()) << byte;
    }
}

}  // namespace
}  // namespace csv2pnp
