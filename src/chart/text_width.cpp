#include "chart/text_width.h"

#include <string_view>

#include "text/utf8_text.h"

namespace csv2pnp {

double textWidth(std::string_view utf8, double fontSize) {
    // Ems a character: DejaVu Sans's widest of each kind, the micro sign as a digit, any other
    // non-ASCII character (the minus sign, the ellipsis) at most an em.
    const std::string_view narrow = " .,:;'!|ijlftrI()[]", wide = "mwMW%";
    double ems = 0;
    while (!utf8.empty()) {
        char32_t code = 0;
        const std::size_t length = utf8SequenceAt(utf8, code);
        utf8.remove_prefix(length == 0 ? 1 : length);
        if (length == 0) code = 0xfffd;
        const char ascii = code < 0x80 ? static_cast<char>(code) : '\0';
        if (code == 0xb5) ems += 0.65;
        else if (code >= 0x80) ems += 1;
        else if (ascii != '\0' && narrow.find(ascii) != std::string_view::npos) ems += 0.42;
        else if (ascii != '\0' && wide.find(ascii) != std::string_view::npos) ems += 1;
        else ems += ascii >= 'A' && ascii <= 'Z' ? 0.8 : 0.65;
    }
    return ems * fontSize;
}

}  // namespace csv2pnp
