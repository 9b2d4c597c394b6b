#include <optional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layout_samples.h"
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
        {"10,-100,-110\n100,-120,-130\n", {}, std::nullopt},
        {"10;-100;-110\n100;-120;-130\n1000,-130,-140\n",
         {"dir/x.csv: most rows hold a single cell: pnpplot reads comma-separated exports, and this one seems to be "
          "separated by "
          "something else (semicolons, tabs)"},
         "pn2060"},
        // Equal offsets: the last of them stands.
        {"100,-90,-100\n100,-95,-105\n1000,-100,-110\n",
         {"dir/x.csv: x.csv phase noise: 1 point is at an offset given again later; the last of equal offsets is used",
          "dir/x.csv: x.csv floor: 1 point is at an offset given again later; the last of equal offsets is used"},
         std::nullopt},
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

// Each layout is recognised by its content whatever the file's name; --format overrides it.
TEST(TraceReader, LayoutsToldByContent) {
    const std::pair<std::string, std::string> cases[] = {
        {";\r\nCAP a\r\nCAR 100 Hz, 3dBm\r\n   TRA 0: 110.000 Hz, -1.000 dBc\r\n", "pnp"},
        {test::rohdeSchwarzSample, "rs"},
        {test::keysightSample, "keysight"},
        {test::keysightChannelSample, "keysight"},
        {test::unitHeaderSample, "header"},
        {"10,-100,-110\n100,-120,-130\n", "pn2060"},
        {"Offset,Level,Floor\n10,-100,-110\n", "pn2060"},
        {test::europeanColumnsSample, "columns"},
        {"\"10\",\"-100\"\n\"100\",\"-120\"\n", "columns"},
        {"; a comment\n10 -100\n100 -120\n", "columns"},
        // The R&S forms: tabs, and '%' before every header line.
        {"Type\tFSWP-26\nTrace\t1\nValues\t2\n1.0000000000\t-83.5587768555\n10.0\t-90.0\n", "rs"},
        {"%Type;FSWP-8;\n%Trace;1;\n%Values;2;\n1.0000000000 -82.4341049194 \n10.0 -90.0 \n", "rs"},
        // "key",value lines with numbers before the header do not make it a PN2060 export: the
        // header explains them, its own line and the rows.
        {"\"Averages\",16\n\"Points\",2\nOffset (kHz),Phase Noise (dBc/Hz),Noise floor (dBc/Hz)\n1,-100,-120\n"
         "10,-110,-130\n",
         "header"},
        // Both fit and explain two lines each: the earlier wins; then the one that explains more.
        {"Index,Offset (Hz),L (dBc/Hz)\n1,10,-100\n2,x,-110\n", "header"},
        {"Index,Offset (Hz),L (dBc/Hz)\n1,x,-100\n2,y,-110\n3,z,-120\n", "pn2060"},
    };
    for (const auto& [bytes, layout] : cases) {
        EXPECT_EQ(detectLayout(bytes), layout) << bytes;
        Result<std::vector<Trace>> read = readTraces(bytes, "any.name");
        ASSERT_TRUE(read) << bytes << (read ? "" : read.problem->text);
        EXPECT_EQ(read.value->front().layout, layout);
    }
    // The kHz of the header scale the offsets; a PN2060 export is three columns, anything else
    // separated by commas is named as what it is.
    EXPECT_EQ(readTraces(cases[12].first, "h.csv").value->front().points.front().offset, 1000);
    EXPECT_EQ(readTraces("10,-100,-110\n100,-120,-130\n", "p.csv").value->front().layoutTitle, "");
    EXPECT_EQ(readTraces("10,-100\n100,-120\n", "p.csv").value->front().layoutTitle, "numbers separated by commas");
    // Forced, the PN2060 reader splits the decimal commas of a semicolon file.
    EXPECT_EQ(readTraces(test::europeanColumnsSample, "de.csv", ReadOptions{"pn2060", std::nullopt})
                  .problem->text.substr(0, 52),
              "de.csv phase noise: most levels are above 0 dBc/Hz, ");
    EXPECT_EQ(readTraces("just words\nand more\n", "w.txt").problem->text,
              "fits none of the layouts pnpplot reads (tried pnp, rs, keysight, header, pn2060, columns); --format "
              "names one, --columns picks the columns");
    // Decimal commas split at a comma make levels above 0 dBc/Hz: the input is refused.
    Result<std::vector<Trace>> split = readTraces("10,-119,86,-131,53\n100,-143,70,-157,4\n", "split.csv");
    ASSERT_FALSE(split);
    EXPECT_EQ(split.problem->text.substr(0, 70),
              "split.csv floor: most levels are above 0 dBc/Hz, which no measured noi");
}

}  // namespace
}  // namespace csv2pnp
