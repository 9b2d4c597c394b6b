#include "text/utf8_text.h"

namespace csv2pnp {

namespace {

// Windows-1252 from 0x80 to 0x9f; 0 where the code page has no character.
constexpr char16_t windows1252High[32] = {
    0x20ac, 0,      0x201a, 0x0192, 0x201e, 0x2026, 0x2020, 0x2021, 0x02c6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017d, 0,      0,      0x2018, 0x2019, 0x201c, 0x201d, 0x2022,
    0x2013, 0x2014, 0x02dc, 0x2122, 0x0161, 0x203a, 0x0153, 0,      0x017e, 0x0178,
};

bool isValidUtf8(std::string_view bytes) {
    while (!bytes.empty()) {
        char32_t code = 0;
        std::size_t length = utf8SequenceAt(bytes, code);
        if (length == 0) return false;
        bytes.remove_prefix(length);
    }
    return true;
}

}  // namespace

std::size_t utf8SequenceAt(std::string_view bytes, char32_t& code) {
    auto byte = [&](std::size_t i) { return static_cast<unsigned char>(bytes[i]); };
    unsigned char first = byte(0);
    std::size_t length = first < 0x80                     ? 1
                         : first >= 0xc2 && first <= 0xdf ? 2
                         : first >= 0xe0 && first <= 0xef ? 3
                         : first >= 0xf0 && first <= 0xf4 ? 4
                                                          : 0;
    if (length == 0 || length > bytes.size()) return 0;
    code = length == 1 ? first : first & (0x7fu >> length);
    for (std::size_t i = 1; i < length; ++i) {
        if ((byte(i) & 0xc0) != 0x80) return 0;
        code = (code << 6) | (byte(i) & 0x3f);
    }
    const char32_t lowest[] = {0, 0, 0x80, 0x800, 0x10000};
    if (code < lowest[length] || (code >= 0xd800 && code <= 0xdfff) || code > 0x10ffff) return 0;
    return length;
}

void appendUtf8(std::string& text, char32_t code) {
    auto unit = [&](char32_t bits) { text += static_cast<char>(bits); };
    if (code < 0x80) {
        unit(code);
    } else if (code < 0x800) {
        unit(0xc0 | (code >> 6));
        unit(0x80 | (code & 0x3f));
    } else if (code < 0x10000) {
        unit(0xe0 | (code >> 12));
        unit(0x80 | ((code >> 6) & 0x3f));
        unit(0x80 | (code & 0x3f));
    } else {
        unit(0xf0 | (code >> 18));
        unit(0x80 | ((code >> 12) & 0x3f));
        unit(0x80 | ((code >> 6) & 0x3f));
        unit(0x80 | (code & 0x3f));
    }
}

std::string utf8Text(std::string_view bytes) {
    if (isValidUtf8(bytes)) return std::string(bytes);
    std::string text;
    text.reserve(bytes.size() * 2);
    for (char c : bytes) {
        auto byte = static_cast<unsigned char>(c);
        char32_t code = byte;
        if (byte >= 0x80 && byte < 0xa0) code = windows1252High[byte - 0x80] ? windows1252High[byte - 0x80] : 0xfffd;
        appendUtf8(text, code);
    }
    return text;
}

std::string asciiLowerCase(std::string_view text) {
    std::string lowered(text);
    for (char& c : lowered) c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    return lowered;
}

}  // namespace csv2pnp
