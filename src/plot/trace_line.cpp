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

void TraceLineFormatter::start(std::size_t number, double frequency) {
    char* begin = buffer_.data();
    char* end = begin + buffer_.size();
    char* at = append(begin, plotformat::traceStart);
    at = std::to_chars(at, end, number).ptr;
    at = append(at, plotformat::traceNumberEnd);
    at = toFixedThree(at, end, frequency);
    at = append(at, plotformat::traceFrequencyEnd);
    levelStart_ = static_cast<std::size_t>(at - begin);
}

std::string_view TraceLineFormatter::withLevel(double level) {
    char* begin = buffer_.data();
    char* at = toFixedThree(begin + levelStart_, begin + buffer_.size(), level);
    at = append(at, plotformat::traceLevelEnd);
    at = append(at, plotformat::lineEnd);
    return std::string_view(begin, static_cast<std::size_t>(at - begin));
}

}  // namespace csv2pnp
