#include "plot/trace_line.h"

#include <charconv>
#include <cstring>

namespace csv2pnp {

namespace {

char* append(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

char* appendFixed(char* at, char* end, double value) {
    return std::to_chars(at, end, value, std::chars_format::fixed, 3).ptr;
}

}  // namespace

std::string_view formatTraceLine(TraceLineText& out, std::size_t number, double frequency, double level) {
    char* begin = out.bytes.data();
    char* end = begin + out.bytes.size();
    char* at = append(begin, "   TRA ");
    at = std::to_chars(at, end, number).ptr;
    at = append(at, ": ");
    at = appendFixed(at, end, frequency);
    at = append(at, " Hz, ");
    at = appendFixed(at, end, level);
    at = append(at, " dBc");
    return std::string_view(begin, static_cast<std::size_t>(at - begin));
}

}  // namespace csv2pnp
