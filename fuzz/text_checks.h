// What the fuzz targets hold of every text they write, checked here on its own, independently
// of the writers' escaping: valid UTF-8, and for XML no character that XML 1.0 forbids.
#pragma once

#include <cstddef>
#include <string_view>

namespace fuzzing {

// Whether the bytes are well-formed UTF-8 (no overlong form, no surrogate, nothing beyond
// U+10FFFF); with forXml, also no control character but tab, LF and CR, and no U+FFFE or U+FFFF.
inline bool validText(std::string_view bytes, bool forXml) {
    for (std::size_t at = 0; at < bytes.size();) {
        const auto lead = static_cast<unsigned char>(bytes[at]);
        if (lead < 0x80) {
            if (forXml && lead < 0x20 && lead != '\t' && lead != '\n' && lead != '\r') return false;
            ++at;
            continue;
        }
        const std::size_t length = lead >= 0xf0 ? 4 : lead >= 0xe0 ? 3 : lead >= 0xc0 ? 2 : 0;
        if (length == 0 || lead > 0xf4 || at + length > bytes.size()) return false;
        char32_t code = lead & (0x7f >> length);
        for (std::size_t k = 1; k < length; ++k) {
            const auto next = static_cast<unsigned char>(bytes[at + k]);
            if ((next & 0xc0) != 0x80) return false;
            code = (code << 6) | (next & 0x3f);
        }
        const char32_t least[] = {0, 0, 0x80, 0x800, 0x10000};
        if (code < least[length] || code > 0x10ffff || (code >= 0xd800 && code <= 0xdfff)) return false;
        if (forXml && (code == 0xfffe || code == 0xffff)) return false;
        at += length;
    }
    return true;
}

}  // namespace fuzzing
