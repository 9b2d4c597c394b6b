#include "chart/text_width.h"

#include <cstring>

#include "text/utf8_text.h"

namespace csv2pnp {

namespace {

bool oneOf(const char* characters, char32_t code) {
    return code != 0 && code < 0x80 && std::strchr(characters, static_cast<char>(code)) != nullptr;
}

}  // namespace

double textWidth(std::string_view utf8, double fontSize) {
    double ems = 0;
    while (!utf8.empty()) {
        char32_t code = 0;
        std::size_t length = utf8SequenceAt(utf8, code);
        if (length == 0) length = 1, code = 0xfffd;
        utf8.remove_prefix(length);
        if (code == 0xb5) {
            ems += 0.65;  // the micro sign, as wide as a digit
        } else if (code >= 0x80) {
            ems += 1;  // the minus sign, the ellipsis and the rest: at most an em
        } else if (oneOf(" .,:;'!|ijlftrI()[]", code)) {
            ems += 0.42;
        } else if (oneOf("mwMW%", code)) {
            ems += 1;
        } else if (code >= 'A' && code <= 'Z') {
            ems += 0.8;
        } else {
            ems += 0.65;  // digits and the other small letters
        }
    }
    return ems * fontSize;
}

}  // namespace csv2pnp
