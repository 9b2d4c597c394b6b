#include "plot_format/time_stamp.h"

#include <cstdio>

namespace csv2pnp {

std::string formatTimeStamp(const UtcTime& time) {
    char text[96];
    int length = std::snprintf(text, sizeof text, "%d/%02d/%d %d:%02d:%02d", time.month, time.day, time.year, time.hour,
                               time.minute, time.second);
    return std::string(text, static_cast<std::size_t>(length));
}

std::optional<UtcTime> parseTimeStamp(std::string_view text) {
    int fields[6] = {};
    std::size_t at = 0;
    const char separators[] = {'/', '/', ' ', ':', ':', '\0'};
    for (int i = 0; i < 6; ++i) {
        std::size_t start = at;
        while (at < text.size() && text[at] >= '0' && text[at] <= '9' && at - start < 4) {
            fields[i] = fields[i] * 10 + (text[at] - '0');
            ++at;
        }
        if (at == start) return std::nullopt;
        if (separators[i] != '\0') {
            if (at >= text.size() || text[at] != separators[i]) return std::nullopt;
            ++at;
        }
    }
    UtcTime time{fields[2], fields[0], fields[1], fields[3], fields[4], fields[5]};
    if (at != text.size() || time.month < 1 || time.month > 12 || time.day < 1 || time.day > 31 || time.hour > 23 ||
        time.minute > 59 || time.second > 60) {
        return std::nullopt;
    }
    return time;
}

}  // namespace csv2pnp
