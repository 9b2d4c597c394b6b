// The clock of every test that converts: 3 January 2026, 09:05:03 UTC.
#pragma once

#include "platform/platform.h"

namespace csv2pnp::test {

inline UtcTime fixedClock() { return UtcTime{2026, 1, 3, 9, 5, 3}; }

// fixedClock's time as the TIM and EOF records write it.
inline constexpr const char* fixedTimeStamp = "1/03/2026 9:05:03";

}  // namespace csv2pnp::test
