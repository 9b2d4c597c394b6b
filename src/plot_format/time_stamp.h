// The TIM and EOF time stamp: month/dd/year h:mm:ss, in UTC.
#pragma once

#include <string>

#include "platform/platform.h"

namespace csv2pnp {

std::string formatTimeStamp(const UtcTime& time);

}  // namespace csv2pnp
