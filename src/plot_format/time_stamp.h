// The TIM and EOF time stamp: month/dd/year h:mm:ss, in UTC. csv2pnp writes it, pnpplot reads it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "platform/platform.h"

namespace csv2pnp {

std::string formatTimeStamp(const UtcTime& time);

// The time of a stamp as the TIM record holds it ("12/9/2026 4:26:47"): each field one to four
// digits, the month 1 to 12, the day 1 to 31, the hour to 23, the minute to 59, the second to
// 60; nothing for any other text.
std::optional<UtcTime> parseTimeStamp(std::string_view text);

}  // namespace csv2pnp
