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

// The scales, the size, the time domain and the fit: what they set, and the values refused.
TEST(PlotOptions, ScalesSizeAndTheTimeDomain) {
    Result<PlotOptions> set =
        parsed({"--x-range", "10:1M", "--y-range", "-170:-60", "--size", "800X500", "--mdev", "--tdev", "--tau",
                "1-2-5", "--fit", "--fit-range", "1k:100k", "--fh", "2M", "--each", "--table", "t.csv", "a.csv"});
    ASSERT_TRUE(set) << set.problem->text;
    const PlotOptions& o = *set.value;
    EXPECT_EQ(o.offsetRange->to, 1e6);
    EXPECT_EQ(o.levelRange, (std::pair<double, double>{-170, -60}));
    EXPECT_EQ(o.size, (std::pair<int, int>{800, 500}));
    EXPECT_TRUE(o.analysis.deviations.modified && o.analysis.deviations.time && o.analysis.deviations.threePerDecade);
    EXPECT_TRUE(o.analysis.fit && o.each);
    EXPECT_EQ(o.analysis.fitRange->from, 1e3);
    EXPECT_EQ(o.analysis.fitBandwidth, 2e6);
    EXPECT_EQ(o.table, "t.csv");
    const std::pair<std::vector<std::string>, const char*> refused[] = {
        {{"--size", "600x400", "a.csv"}, "--size 600x400: the canvas is from 640x270 to 20000x20000 pixels"},
        {{"--size", "800", "a.csv"}, "--size 800: the canvas is WxH in pixels, such as 1080x600"},
        {{"--y-range", "-60:-170", "a.csv"}, "--y-range -60:-170: the range must rise"},
        {{"--y-range", "-60", "a.csv"}, "--y-range -60: a range of levels is L1:L2, in dB"},
        {{"--x-range", "1k", "a.csv"}, "--x-range 1k: a range is F1:F2, two offsets in Hz"},
        {{"--tau", "2", "a.csv"}, "--tau 2: 1 for one tau a decade, 1-2-5 for three"},
        {{"--fh", "x", "a.csv"}, "--fh x: 'x' is not a frequency in Hz above 0"},
        {{"--each", "--html", "r.html", "a.csv"},
         "--html r.html: with --each, --html names the folder of the reports; end it with / (such as --html "
         "reports/)"},
        {{"--table", "-", "-j", "-", "a.csv"}, "only one of -o -, -j - and --table - can write to standard output"},
    };
    for (const auto& [arguments, text] : refused) EXPECT_EQ(parsed(arguments).problem->text, text);
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
