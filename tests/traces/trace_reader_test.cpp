#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "traces/trace_reader.h"

namespace csv2pnp {
namespace {

// What the reader warns of, per input: each input below holds traces that can be drawn.
TEST(TraceReader, WarnsOfWhatLooksWrong) {
    const struct {
        std::string bytes;
        std::vector<std::string> warnings;
        std::optional<std::string> format;
    } cases[] = {
        {"10,-100,-110\n100,-120,-130\n", {}},
        {"10;-100;-110\n100;-120;-130\n1000,-130,-140\n",
         {"dir/x.csv: most rows hold a single cell: pnpplot reads comma-separated exports, and this one seems to be "
          "separated by "
          "something else (semicolons, tabs)"},
         "pn2060"},
        // Equal offsets: the last of them stands.
        {"100,-90,-100\n100,-95,-105\n1000,-100,-110\n",
         {"dir/x.csv: x.csv phase noise: 1 point is at an offset given again later; the last of equal offsets is used",
          "dir/x.csv: x.csv floor: 1 point is at an offset given again later; the last of equal offsets is used"}},
    };
    for (const auto& c : cases) {
        Result<std::vector<Trace>> read = readTraces(c.bytes, "dir/x.csv", ReadOptions{c.format, std::nullopt});
        ASSERT_TRUE(read) << c.bytes;
        std::vector<std::string> warnings;
        for (const Warning& warning : read.warnings) warnings.push_back(describe(warning));
        EXPECT_EQ(warnings, c.warnings) << c.bytes;
    }
    // A byte-order mark does not cost the first row.
    EXPECT_EQ(readTraces("\xef\xbb\xbf"
                         "1,-90,-100\n10,-120,-130\n",
                         "x.csv")
                  .value->front()
                  .points.size(),
              2u);
    Result<std::vector<Trace>> repeated = readTraces("100,-90,-100\n100,-95,-105\n1000,-100,-110\n", "x.csv");
    ASSERT_TRUE(repeated);
    EXPECT_EQ(repeated.value->front().points.size(), 2u);
    EXPECT_EQ(repeated.value->front().points[0].level, -95);
    EXPECT_EQ(repeated.value->front().repeated, 1u);
}

}  // namespace
}  // namespace csv2pnp
