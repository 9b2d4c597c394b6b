#include <optional>

#include <gtest/gtest.h>

#include "platform/platform.h"
#include "plot_format/time_stamp.h"

namespace csv2pnp {
namespace {

TEST(UtcTime, TheSecondBefore1970IsARealTime) {
#ifdef _WIN32
    EXPECT_FALSE(utcTimeAt(-1));  // the Windows C library breaks down no time before 1970
#else
    std::optional<UtcTime> time = utcTimeAt(-1);
    ASSERT_TRUE(time);
    EXPECT_EQ(formatTimeStamp(*time), "12/31/1969 23:59:59");
#endif
    ASSERT_TRUE(utcTimeAt(1767431103));
    EXPECT_EQ(formatTimeStamp(*utcTimeAt(1767431103)), "1/03/2026 9:05:03");
}

}  // namespace
}  // namespace csv2pnp
