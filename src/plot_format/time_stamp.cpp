#include "plot_format/time_stamp.h"

#include <cstdio>

namespace csv2pnp {

std::string formatTimeStamp(const UtcTime& time) {
    char text[96];
    int length = std::snprintf(text, sizeof text, "%d/%02d/%d %d:%02d:%02d", time.month, time.day, time.year, time.hour,
                               time.minute, time.second);
    return std::string(text, static_cast<std::size_t>(length));
}

}  // namespace csv2pnp
