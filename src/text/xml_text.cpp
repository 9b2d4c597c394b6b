#include "text/xml_text.h"

namespace csv2pnp {

namespace {

constexpr std::string_view replacement = "\xef\xbf\xbd";

// The length of the valid UTF-8 sequence at the front of bytes, or 0, and its code point.
std::size_t sequenceAt(std::string_view bytes, char32_t& code) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    unsigned char first = byte(0);
    std::size_t length = first < 0x80 ? 1 : first >= 0xc2 && first <= 0xdf ? 2 : first >= 0xe0 && first <= 0xef ? 3
                                          : first >= 0xf0 && first <= 0xf4 ? 4 : 0;
    if (length == 0 || length > bytes.size()) return 0;
    code = length == 1 ? first : first & (0x7f >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3f);
    }
    // Overlong forms, surrogates and values beyond U+10FFFF are not UTF-8.
    const char32_t lowest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < lowest[length] || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff) return 0;
    return length;
}

bool allowedInXml(char32_t code) {
    return code == 0x9 || code == 0xa || code == 0xd || (code >= 0x20 && code != 0xfffe && code != 0xffff);
}

}  // namespace

std::string xmlText(std::string_view bytes) {
    std::string text;
    text.reserve(bytes.size());
    while (!bytes.empty()) {
        char32_t code = 0;
        std::size_t length = sequenceAt(bytes, code);
        if (length == 0 || !allowedInXml(code)) {
            text += replacement;
            bytes.remove_prefix(length == 0 ? 1 : length);
            continue;
        }
        switch (code) {
        case '&': text += "&amp;"; break;
        case '<': text += "&lt;"; break;
        case '>': text += "&gt;"; break;
        case '"': text += "&quot;"; break;
        case '\'': text += "&apos;"; break;
        default: text.append(bytes.substr(0, length));
        }
        bytes.remove_prefix(length);
    }
    return text;
}

}  // namespace csv2pnp
