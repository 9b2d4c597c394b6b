#include "csv2pnp/trace_line.h"

#include <charconv>
#include <cstring>

#include "plot_format/plot_format.h"

namespace csv2pnp {

namespace {

char* append(char* at, std::string_view text) {
    std::memcpy(at, text.data(), text.size());
    return at + text.size();
}

}  // namespace

bool TraceLineFormatter::countOn() {
    char* const first = buffer_.data() + plotformat::traceStart.size();
    char* digit = buffer_.data() + frequencyStart_ - plotformat::traceNumberEnd.size();
    while (digit != first) {
        --digit;
        if (*digit != '9') {
            ++*digit;
            return true;
        }
        *digit = '0';
    }
    return false;  // all nines: the buffer holds zeros now, and is written again whole
}

void TraceLineFormatter::start(std::size_t number, double frequency) {
    char* const begin = buffer_.data();
    char* const end = begin + buffer_.size();
    if (!(holdsNumber_ && number > number_ && number - number_ == 1 && countOn())) {
        char* at = append(begin, plotformat::traceStart);
        at = std::to_chars(at, end, number).ptr;
        at = append(at, plotformat::traceNumberEnd);
        frequencyStart_ = static_cast<std::size_t>(at - begin);
    }
    holdsNumber_ = true;
    number_ = number;
    char* at = toFixedThree(begin + frequencyStart_, end, frequency);
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
