#include <optional>
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
    EXPECT_EQ(o.analysis.normaliseTo, 100e6);
    EXPECT_EQ(o.title, "Title");
    EXPECT_EQ(o.mask, "m.txt");
    EXPECT_EQ(o.json, "-");
    EXPECT_EQ(o.analysis.spurThreshold, 6);
    EXPECT_EQ(o.analysis.marginThreshold, 3);
    EXPECT_EQ(o.analysis.smoothing, 0.2);
    EXPECT_EQ(o.analysis.spurs, SpurTreatment::omit);
    EXPECT_TRUE(o.analysis.subtractFloor && o.analysis.deviations.allan && o.dark);
    EXPECT_EQ(o.html, "r.html");

    ASSERT_EQ(o.inputs.size(), 2u);
    EXPECT_EQ(o.inputs[0].path, "dir/a.csv");
    EXPECT_EQ(o.inputs[1].carrier, 10e6);

    // -o FILE.html is the report alone; -h stops at once, whatever follows.
    Result<PlotOptions> report = parsed({"-o", "R.HTML", "a.csv"});
    EXPECT_EQ(report.value->html, "R.HTML");
    EXPECT_EQ(report.value->output, "");
    EXPECT_TRUE(parsed({"-h", "-x"}).value->help);
    EXPECT_EQ(parsed({"-q"}).problem->file, "");  // a usage problem names no file
}

// Options that describe an input apply to the inputs after them: -c, --format and --columns
// until given again, -l to the next input only; every other option may stand anywhere, and
// after -- every argument is a file.
TEST(PlotOptions, OptionsOfEachInputAndAnywhere) {
    Result<PlotOptions> session =
        parsed({"-c", "10M", "-l", "Reference", "ref.csv", "-c", "100M", "-l", "XO", "xo.csv", "-r", "10:1M",
                "--format", "rs", "--columns=1,3", "fswp.dat", "--", "-x.csv"});
    ASSERT_TRUE(session) << session.problem->text;
    const std::vector<InputSpec>& inputs = session.value->inputs;
    ASSERT_EQ(inputs.size(), 4u);
    const struct {
        double carrier;
        std::optional<std::string> label, format;
        std::optional<std::size_t> noise;
    } expected[] = {{10e6, "Reference", {}, {}}, {100e6, "XO", {}, {}}, {100e6, {}, "rs", 2}, {100e6, {}, "rs", 2}};
    for (std::size_t i = 0; i < inputs.size(); ++i) {
        EXPECT_EQ(inputs[i].carrier, expected[i].carrier) << i;
        EXPECT_EQ(inputs[i].label, expected[i].label) << i;
        EXPECT_EQ(inputs[i].read.format, expected[i].format) << i;
        EXPECT_EQ(inputs[i].read.columns ? std::optional<std::size_t>(inputs[i].read.columns->noise) : std::nullopt,
                  expected[i].noise)
            << i;
    }
    EXPECT_EQ(inputs[3].path, "-x.csv");
    EXPECT_EQ(session.value->analysis.band->to, 1e6);
    EXPECT_EQ(parsed({"a.csv", "-c", "10M"}).problem->text,
              "-c 10M follows the last input and applies to nothing: it describes the inputs after it");
    EXPECT_FALSE(parsed({"--format", "xyz", "a.csv"}));
    EXPECT_FALSE(parsed({"--columns", "0,2", "a.csv"}));
}

}  // namespace
}  // namespace csv2pnp
