#include <optional>
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

// What a TIM record holds reads back to its time; anything else is no time.
TEST(TimeStamp, ReadBackAsWritten) {
    for (const UtcTime& time : {UtcTime{2026, 12, 9, 4, 26, 47}, UtcTime{1970, 1, 1, 0, 0, 0}}) {
        std::optional<UtcTime> read = parseTimeStamp(formatTimeStamp(time));
        ASSERT_TRUE(read);
        EXPECT_EQ(formatTimeStamp(*read), formatTimeStamp(time));
    }
    EXPECT_TRUE(parseTimeStamp("12/31/9999 23:59:60"));  // a leap second
    for (const char* text : {"", "13/01/2026 0:00:00", "1/32/2026 0:00:00", "0/01/2026 0:00:00", "1/01/2026 24:00:00",
                             "1/01/2026 0:60:00", "1/01/2026 0:00:61", "1/01/12026 0:00:00", "1/01/2026 0:00:00 UTC",
                             "1-01-2026 0:00:00", "1/01/2026  0:00:00"}) {
        EXPECT_FALSE(parseTimeStamp(text)) << text;
    }
}

}  // namespace
}  // namespace csv2pnp
