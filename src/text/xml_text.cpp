#include "text/xml_text.h"

#include "text/utf8_text.h"

namespace csv2pnp {

namespace {

constexpr std::string_view replacement = "\xef\xbf\xbd";

bool allowedInXml(char32_t code) {
    return code == 0x9 || code == 0xa || code == 0xd || (code >= 0x20 && code != 0xfffe && code != 0xffff);
}

}  // namespace

std::string xmlText(std::string_view bytes) {
    std::string utf8 = utf8Text(bytes);
    std::string_view rest = utf8;
    std::string text;
    text.reserve(utf8.size());
    while (!rest.empty()) {
        char32_t code = 0;
        std::size_t length = utf8SequenceAt(rest, code);
        if (!allowedInXml(code)) {
            text += replacement;
        } else {
            switch (code) {
            case '&': text += "&amp;"; break;
            case '<': text += "&lt;"; break;
            case '>': text += "&gt;"; break;
            case '"': text += "&quot;"; break;
            case '\'': text += "&apos;"; break;
            default: text.append(rest.substr(0, length));
            }
        }
        rest.remove_prefix(length);
    }
    return text;
}

}  // namespace csv2pnp
