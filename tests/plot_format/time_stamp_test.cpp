#include <utility>

#include <gtest/gtest.h>

#include "plot_format/time_stamp.h"

namespace csv2pnp {
namespace {

TEST(TimeStamp, MonthDayYearAndTheTime) {
    const std::pair<UtcTime, const char*> cases[] = {
        {{2026, 2, 1, 0, 0, 0}, "2/01/2026 0:00:00"},
        {{2026, 11, 15, 10, 30, 0}, "11/15/2026 10:30:00"},
        {{2025, 12, 31, 23, 59, 7}, "12/31/2025 23:59:07"},
        {UtcTime{}, "1/01/1970 0:00:00"},
    };
    for (const auto& [time, text] : cases) EXPECT_EQ(formatTimeStamp(time), text);
}

}  // namespace
}  // namespace csv2pnp
