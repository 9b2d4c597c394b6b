#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "pnpplot/plot_options.h"
#include "processes.h"

namespace csv2pnp {
namespace {

Result<PlotOptions> parsed(std::vector<std::string> arguments) {
    test::ArgumentVector argv("pnpplot", std::move(arguments));
    return parsePlotOptions(argv.count(), argv.values(), systemHost());
}

// Without options every default is the analysis's own; each option sets what it names, in
// any of the spellings getopt and long options allow.
TEST(PlotOptions, DefaultsAndWhatEachOptionSets) {
    Result<PlotOptions> plain = parsed({"a.csv"});
    ASSERT_TRUE(plain);
    EXPECT_EQ(plain.value->analysis.spurThreshold, defaultSpurThreshold);
    EXPECT_EQ(plain.value->analysis.marginThreshold, defaultMarginThreshold);
    EXPECT_TRUE(plain.value->output.empty() && plain.value->chartAfterFirstInput);

    Result<PlotOptions> all = parsed({"-r10:1k",
                                      "-c",
                                      "10M",
                                      "-n100M",
                                      "-tTitle",
                                      "-m",
                                      "m.txt",
                                      "-j",
                                      "-",
                                      "--spur-threshold=6",
                                      "--margin",
                                      "3",
                                      "--smooth",
                                      "0.2",
                                      "--omit-spurs",
                                      "--subtract-floor",
                                      "--adev",
                                      "--dark",
                                      "--html",
                                      "r.html",
                                      "dir/a.csv",
                                      "b.csv"});
    ASSERT_TRUE(all);
    const PlotOptions& o = *all.value;
    EXPECT_EQ(o.analysis.band->from, 10);
    EXPECT_EQ(o.analysis.band->to, 1000);
    EXPECT_EQ(o.analysis.carrier, 10e6);
    EXPECT_EQ(o.analysis.normaliseTo, 100e6);
    EXPECT_EQ(o.title, "Title");
    EXPECT_EQ(o.mask, "m.txt");
    EXPECT_EQ(o.json, "-");
    EXPECT_EQ(o.analysis.spurThreshold, 6);
    EXPECT_EQ(o.analysis.marginThreshold, 3);
    EXPECT_EQ(o.analysis.smoothing, 0.2);
    EXPECT_EQ(o.analysis.spurs, SpurTreatment::omit);
    EXPECT_TRUE(o.analysis.subtractFloor && o.analysis.allanDeviation && o.dark);
    EXPECT_EQ(o.html, "r.html");

    EXPECT_EQ(o.inputs, (std::vector<std::string>{"dir/a.csv", "b.csv"}));

    // -o FILE.html is the report alone; -h stops at once, whatever follows.
    Result<PlotOptions> report = parsed({"-o", "R.HTML", "a.csv"});
    EXPECT_EQ(report.value->html, "R.HTML");
    EXPECT_EQ(report.value->output, "");
    EXPECT_TRUE(parsed({"-h", "-x"}).value->help);
    EXPECT_EQ(parsed({"-q"}).problem->file, "");  // a usage problem names no file
}

}  // namespace
}  // namespace csv2pnp
