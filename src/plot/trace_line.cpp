#include "plot/trace_line.h"

#include <charconv>
#include <cstring>

namespace csv2pnp {

namespace {

char* append(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

}  // namespace

std::string_view formatTraceLine(TraceLineBuffer& buffer, std::size_t number, double frequency, double level) {
    char* begin = buffer.data();
    char* end = begin + buffer.size();
    char* at = append(begin, "   TRA ");
    at = std::to_chars(at, end, number).ptr;
    at = append(at, ": ");
    at = toFixedThree(at, end, frequency);
    at = append(at, " Hz, ");
    at = toFixedThree(at, end, level);
    at = append(at, " dBc");
    return std::string_view(begin, static_cast<std::size_t>(at - begin));
}

}  // namespace csv2pnp
