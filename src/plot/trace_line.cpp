#include "plot/trace_line.h"

#include <charconv>
#include <cstring>

#include "plot/plot_format.h"

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
    char* at = append(begin, plotformat::traceStart);
    at = std::to_chars(at, end, number).ptr;
    at = append(at, plotformat::traceNumberEnd);
    at = toFixedThree(at, end, frequency);
    at = append(at, plotformat::traceFrequencyEnd);
    at = toFixedThree(at, end, level);
    at = append(at, plotformat::traceLevelEnd);
    return std::string_view(begin, static_cast<std::size_t>(at - begin));
}

}  // namespace csv2pnp
