#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "figures/limit_mask.h"

namespace csv2pnp {
namespace {

TEST(LimitMask, ReadsPointsAndNamesTheLineOfAnError) {
    const struct {
        std::string text;
        std::size_t points, line;
        std::string error;
    } cases[] = {
        {"# a mask\n10,-100\r\n\n 1k , -120.5 \r100K,-140\n1M,-140", 4, 0, ""},
        {"10,-100\n10,-120\n", 2, 0, ""},                  // a step
        {"10,-100  # near-in\n1k,-140# far\n", 2, 0, ""},  // comments after the points
        {"\xef\xbb\xbf"
         "10,-100\n100,-120\n",
         2, 0, ""},  // as Notepad saves it
        {"10,-100\n5,-120\n", 0, 2, "the offsets must not decrease"},
        {"10,-100\n20 -120\n", 0, 2, "a point is \"offset,level\", such as 10k,-120"},
        {"10,-100,3\n", 0, 1, "a point is \"offset,level\", such as 10k,-120"},
        {"\n\n1x,-100\n", 0, 3, "'1x' is not an offset in Hz"},
        {"0,-100\n", 0, 1, "'0' is not an offset in Hz"},
        {"10,-100dB\n", 0, 1, "'-100dB' is not a level in dBc/Hz"},
        {"10,nan\n", 0, 1, "'nan' is not a level in dBc/Hz"},
        {"# nothing\n\n", 0, 0, "holds no point"},
    };
    for (const auto& c : cases) {
        Result<LimitMask> read = readLimitMask(c.text, "m.txt");
        EXPECT_EQ(read ? "" : read.problem->text, c.error) << c.text;
        EXPECT_EQ(read ? 0 : read.problem->line, c.line) << c.text;
        EXPECT_EQ(read ? read.value->points.size() : 0, c.points) << c.text;
    }
}

TEST(LimitMask, LimitsAndVerdicts) {
    const LimitMask mask{"m.txt", {{10, -100}, {1000, -140}, {1000, -150}, {1e5, -150}}};
    const std::pair<double, std::optional<double>> limits[] = {
        {10, -100}, {100, -120}, {1000, -140}, {1e4, -150}, {1e5, -150}, {9, std::nullopt}, {2e5, std::nullopt}};
    for (const auto& [offset, limit] : limits) {
        std::optional<double> got = limitAt(mask, offset);
        ASSERT_EQ(got.has_value(), limit.has_value()) << offset;
        if (limit) {
            EXPECT_NEAR(*got, *limit, 1e-12) << offset;
        }
    }

    // 1 Hz is outside the mask; 100 Hz is 1 dB above its limit, 1 kHz passes against the
    // higher side of the step, 10 kHz is 0.5 dB below.
    MaskVerdict fails = judgeAgainstMask({{1, 0}, {100, -119}, {1000, -141}, {1e4, -150.5}}, mask);
    EXPECT_EQ(fails.judged, 3u);
    EXPECT_EQ(fails.above, 1u);
    EXPECT_FALSE(fails.passes());
    EXPECT_NEAR(*fails.worst, 1, 1e-12);
    EXPECT_EQ(fails.worstAt, 100);
    ASSERT_EQ(fails.failing.size(), 1u);
    EXPECT_EQ(fails.failing[0].offset, 100);

    MaskVerdict passes = judgeAgainstMask({{100, -120}, {1e4, -150.5}}, mask);  // at the limit passes
    EXPECT_TRUE(passes.passes());
    EXPECT_NEAR(*passes.worst, 0, 1e-12);
    MaskVerdict outside = judgeAgainstMask({{1, -200}, {1e6, -200}}, mask);
    EXPECT_EQ(outside.judged, 0u);
    EXPECT_FALSE(outside.passes());
    EXPECT_FALSE(outside.worst);
}

}  // namespace
}  // namespace csv2pnp
