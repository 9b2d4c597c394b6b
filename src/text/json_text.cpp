#include "text/json_text.h"

#include <charconv>
#include <cmath>

#include "text/utf8_text.h"

namespace csv2pnp {

std::string jsonString(std::string_view bytes) {
    static constexpr char hex[] = "0123456789abcdef";
    std::string text = "\"";
    for (char c : utf8Text(bytes)) {
        auto byte = static_cast<unsigned char>(c);
        switch (c) {
        case '"': text += "\\\""; break;
        case '\\': text += "\\\\"; break;
        case '\n': text += "\\n"; break;
        case '\r': text += "\\r"; break;
        case '\t': text += "\\t"; break;
        default:
            if (byte < 0x20) {
                text += "\\u00";
                text += hex[byte >> 4];
                text += hex[byte & 0xf];
            } else {
                text += c;
            }
        }
    }
    return text + "\"";
}

std::string jsonNumber(double value) {
    if (!std::isfinite(value)) return "null";
    char text[32];
    return std::string(text, std::to_chars(text, text + sizeof text, value).ptr);
}

std::string jsonNumber(std::optional<double> value) { return value ? jsonNumber(*value) : "null"; }

}  // namespace csv2pnp
