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

void startTraceLines(TraceLineText& text, std::size_t number, double frequency) {
    char* begin = text.bytes.data();
    char* end = begin + text.bytes.size();
    char* at = append(begin, "   TRA ");
    at = std::to_chars(at, end, number).ptr;
    at = append(at, ": ");
    at = appendFixed(at, end, frequency);
    at = append(at, " Hz, ");
    text.startLength = static_cast<std::size_t>(at - begin);
}

std::string_view traceLineFor(TraceLineText& text, double level) {
    char* begin = text.bytes.data();
    char* at = appendFixed(begin + text.startLength, begin + text.bytes.size(), level);
    at = append(at, " dBc");
    return std::string_view(begin, static_cast<std::size_t>(at - begin));
}

}  // namespace csv2pnp
