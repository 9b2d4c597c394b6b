#include <algorithm>
#include <cmath>
#include <filesystem>
#include <sstream>
#include <string>
#include <utility>
#include <vector>

#include <gtest/gtest.h>

#include "chart/chart_theme.h"
#include "recording_host.h"
#include "rs_exports.h"
#include "json_parser.h"
#include "plot_runs.h"
#include "pnpplot/plot_driver.h"
#include "report/summary_table.h"
#include "table/cell_value.h"
#include "scratch_dir.h"

namespace csv2pnp {
namespace {

bool has(const std::string& text, const std::string& part) { return text.find(part) != std::string::npos; }

class PlotDriver : public test::ScratchDir {
protected:
    // The arguments split at spaces.
    test::ToolRun run(const std::string& arguments, const Host& files = systemHost()) {
        std::vector<std::string> words;
        std::istringstream split(arguments);
        for (std::string word; split >> word;) words.push_back(word);
        return test::runPlotDriver(words, files);
    }
};

TEST_F(PlotDriver, ExitStatusesAndMessages) {
    test::writeFile("good.csv", "10,-100,-110\n100,-120,-130\n");
    test::writeFile("bad.pnp", ";\nCAR 0 Hz, 3dBm\n   TRA 0: 10 Hz\n");
    test::ToolRun partly = run("good.csv missing.csv bad.pnp");
    EXPECT_EQ(partly.status, 1);
    EXPECT_EQ(partly.err,
              "pnpplot: missing.csv: cannot be opened\npnpplot: bad.pnp: line 3: a TRA line that does not parse\n");
    EXPECT_EQ(partly.out.rfind("Chart written to good.csv.svg\n", 0), 0u);
    // The chart is named after the first input that could be read.
    EXPECT_EQ(run("missing.csv good.csv").out.rfind("Chart written to good.csv.svg\n", 0), 0u);

    const std::pair<const char*, const char*> usageErrors[] = {
        {"-x good.csv", "pnpplot: unknown option in '-x'\n"},
        {"-r 10:5 good.csv", "pnpplot: -r 10:5: the range must rise\n"},
        {"-r 100k:10 good.csv", "pnpplot: -r 100k:10: the range must rise\n"},
        {"-r 100k good.csv", "pnpplot: -r 100k: a range is F1:F2, two offsets in Hz\n"},
        {"-r 1x:10k good.csv", "pnpplot: -r 1x:10k: '1x' is not an offset in Hz above 0\n"},
        {"-r 1k:0 good.csv", "pnpplot: -r 1k:0: '0' is not an offset in Hz above 0\n"},
        {"-c abc good.csv", "pnpplot: -c abc: 'abc' is not a frequency in Hz above 0\n"},
        {"-n 10q good.csv", "pnpplot: -n 10q: '10q' is not a frequency in Hz above 0\n"},
        {"--margin x good.csv", "pnpplot: --margin x: 'x' is not a number of dB\n"},
        {"--spur-threshold=-3 good.csv", "pnpplot: --spur-threshold -3: it must not be below 0 dB\n"},
        {"--spur-threshold", "pnpplot: option --spur-threshold needs a value\n"},
        {"--omit-spurs=yes good.csv", "pnpplot: option --omit-spurs takes no value\n"},
        {"--colour good.csv", "pnpplot: unknown option '--colour'\n"},
        {"-o - -j - good.csv", "pnpplot: only one of -o -, -j - and --table - can write to standard output\n"},
        {"-o chart.png good.csv",
         "pnpplot: -o chart.png: pnpplot writes the chart as SVG (.svg, or a name without an extension) and the HTML "
         "report (.html or .htm); the README shows how to make a PNG of either\n"},
        {"good.csv -c 10M",
         "pnpplot: -c 10M follows the last input and applies to nothing: it describes the inputs "
         "after it\n"},
        {"-c", "pnpplot: option -c needs a value\n"},
        {"-o", "pnpplot: option -o needs a value\n"},
        {"", "pnpplot: no input file\n"},
    };
    for (const auto& [arguments, message] : usageErrors) {
        test::ToolRun usage = run(arguments);
        EXPECT_EQ(usage.status, 2) << arguments;
        EXPECT_EQ(usage.err, std::string(message) + "Try 'pnpplot --help'.\n") << arguments;
        EXPECT_EQ(usage.out, "") << arguments;
    }

    std::filesystem::remove("good.csv.svg");
    test::ToolRun piped = run("-o - good.csv");
    EXPECT_EQ(piped.status, 0);
    EXPECT_EQ(piped.out.rfind("<?xml", 0), 0u);
    EXPECT_EQ(piped.out.find("Chart written"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists("good.csv.svg"));

    test::ToolRun nothing = run("-j - missing.csv");
    EXPECT_EQ(nothing.status, 1);
    EXPECT_EQ(nothing.err, "pnpplot: missing.csv: cannot be opened\npnpplot: nothing to draw\n");
    EXPECT_TRUE(has(nothing.out,
                    "\"inputs\": [{\"path\": \"missing.csv\", \"read\": false, \"error\": \"cannot be "
                    "opened\"}],\n \"traces\": []}"))
        << nothing.out;

    EXPECT_EQ(run("--help").out.rfind("Usage: pnpplot [options] FILE...\n", 0), 0u);
    EXPECT_EQ(run("-h good.csv").out, run("--help").out);
    EXPECT_EQ(run("-t --help --version").out, std::string("pnpplot ") + PNPPLOT_VERSION + "\n");
}

// Each failure of the file system, injected in-process: the message, the status, and
// what is still drawn.
TEST_F(PlotDriver, FileSystemFailures) {
    test::writeFile("a.csv", "10,-100,-110\n100,-120,-130\n");
    test::writeFile("b.csv", "10,-90,-100\n100,-110,-120\n");
    const struct {
        test::HostFault fault;
        int status;
        std::string err;
        bool chartWritten;
    } cases[] = {
        {{test::HostCall::open, "a.csv", 0}, 1, "pnpplot: a.csv: cannot be opened\n", true},
        {{test::HostCall::read, "b.csv", 5}, 1, "pnpplot: b.csv: could not be read to its end\n", true},
        {{test::HostCall::read, ".csv", 0},
         1,
         "pnpplot: a.csv: could not be read to its end\npnpplot: b.csv: could not be read to its end\n"
         "pnpplot: nothing to draw\n",
         false},
        {{test::HostCall::create, "chart.svg", 0}, 1, "pnpplot: chart.svg: could not be written\n", false},
        {{test::HostCall::write, "chart.svg", 100}, 1, "pnpplot: chart.svg: could not be written\n", false},
        {{test::HostCall::close, "chart.svg", 0}, 1, "pnpplot: chart.svg: could not be written\n", false},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.err);
        std::filesystem::remove("chart.svg");
        test::RecordingHost files;
        files.faults.push_back(c.fault);
        test::ToolRun drawn = run("-o chart.svg a.csv b.csv", files.seam());
        EXPECT_EQ(drawn.status, c.status);
        EXPECT_EQ(drawn.err, c.err);
        EXPECT_EQ(drawn.out.rfind("Chart written to chart.svg\n", 0) == 0, c.chartWritten) << drawn.out;
        EXPECT_TRUE(files.everyFileClosed());
    }
}

const std::string mask = "10,-80\n100,-110\n1k,-140\n1k,-150\n100k,-155\n";

// The exit statuses of a mask, and its errors; a failed mask wins only over success.
TEST_F(PlotDriver, MaskVerdictsAndStatuses) {
    test::writeFile("mask.txt", mask);
    test::writeFile("good.csv", "10,-100,-120\n100,-120,-140\n1000,-145,-160\n100000,-160,-170\n");
    test::writeFile("bad.csv", "10,-100,-120\n100,-100,-140\n1000,-145,-160\n100000,-150,-170\n");
    test::writeFile("broken.txt", "10,-80\n# fine\n100 -110\n");
    test::writeFile("wide.txt", "1,-50  # near-in\n10M,-150\n");
    test::writeFile("far.txt", "1M,-50\n10M,-150\n");
    const struct {
        std::string arguments;
        int status;
        std::string inOut, inErr;
    } cases[] = {
        {"-m mask.txt good.csv", 0,
         "  mask          pass from 10 Hz to 100 kHz of the mask's 10 Hz to 100 kHz, 5.00 dB below the limit at the "
         "closest, at 1 kHz (mask.txt)\n",
         ""},
        {"-m mask.txt bad.csv", 3,
         "  mask          FAIL from 10 Hz to 100 kHz of the mask's 10 Hz to 100 kHz, 2 of 4 points above the limit, "
         "the worst 10.00 dB above at 100 Hz (mask.txt)\n",
         ""},
        // A mask wider than the trace judges what it holds, and says so; one that judges
        // nothing gives no verdict, which is not a pass.
        {"-m wide.txt good.csv", 0, "  mask          pass from 10 Hz to 100 kHz of the mask's 1 Hz to 10 MHz, ",
         "pnpplot: good.csv: good.csv phase noise: judged from 10 Hz to 100 kHz only, where the mask wide.txt "
         "reaches from 1 Hz to 10 MHz\n"},
        {"-m far.txt good.csv", 3,
         "  mask          not judged: no point lies within the mask's 1 MHz to 10 MHz (far.txt)\n", ""},
        {"-m mask.txt bad.csv missing.csv", 1, "FAIL", "pnpplot: missing.csv: cannot be opened\n"},
        {"-m broken.txt good.csv", 2, "",
         "pnpplot: broken.txt: line 3: a point is \"offset,level\", such as 10k,-120\n"},
        {"-m none.txt good.csv", 2, "", "pnpplot: none.txt: cannot be opened\n"},
    };
    for (const auto& c : cases) {
        test::ToolRun drawn = run(c.arguments);
        EXPECT_EQ(drawn.status, c.status) << c.arguments;
        EXPECT_TRUE(has(drawn.out, c.inOut)) << c.arguments << "\n" << drawn.out;
        EXPECT_EQ(drawn.err, c.inErr) << c.arguments;
    }
}

// The JSON summary, read back by a real parser: its keys, and figures that are the text's.
TEST_F(PlotDriver, JsonSummary) {
    if (!test::haveJsonParser()) GTEST_SKIP() << "needs python3 to parse JSON";
    test::writeFile("spurs.csv", test::readFile(std::string(EXAMPLES) + "/spurs.csv"));
    test::writeFile("mask.txt", test::readFile(std::string(EXAMPLES) + "/mask.txt"));
    test::ToolRun text = run("-m mask.txt -j out.json --subtract-floor spurs.csv");
    EXPECT_EQ(text.status, 3);
    EXPECT_TRUE(has(text.out, "Chart written to spurs.csv.svg\nSummary written to out.json\n")) << text.out;
    EXPECT_EQ(test::queryJson("out.json", "sorted(d.keys())"), "chart\ninputs\npnpplot\nreport\ntraces\n");
    EXPECT_EQ(test::queryJson("out.json",
                              "[d['chart'], d['traces'][0]['carrier_from'], d['traces'][1]['floor'], "
                              "d['traces'][0]['mask']['pass'], d['traces'][1]['mask'], "
                              "d['traces'][0]['integration']['spurs'], d['traces'][1]['integration']['spurs']]"),
              "spurs.csv.svg\ndefault\nTrue\nFalse\nNone\npower\nmeasured\n");
    // Each figure the text prints is the JSON's, rounded as printed.
    std::optional<std::string> figures =
        test::queryJson("out.json",
                        "['%.3f dBc' % t['integration']['phase_noise_dbc'] for t in d['traces']] + "
                        "['%.2f dB at' % d['traces'][0]['floor_margin']['min_db']] + "
                        "['%.3f dBc' % s['power_dbc'] for s in d['traces'][0]['spurs']]");
    ASSERT_TRUE(figures);
    std::istringstream lines(*figures);
    for (std::string line; std::getline(lines, line);) EXPECT_TRUE(has(text.out, line)) << line;
    EXPECT_EQ(test::queryJson("out.json", "len(d['traces'][0]['spurs'])"), "2\n");

    // With -j - the JSON alone goes to standard output; --adev fills its list.
    test::ToolRun piped = run("-j - --adev spurs.csv");
    EXPECT_EQ(piped.status, 0);
    test::writeFile("piped.json", piped.out);
    EXPECT_EQ(test::queryJson("piped.json", "d['traces'][0]['caption']"), "spurs.csv phase noise\n");
    EXPECT_EQ(
        test::queryJson("piped.json", "[a['tau_s'] for a in d['traces'][0]['adev']] + [len(d['traces'][1]['adev'])]"),
        "1e-05\n0.0001\n0.001\n0.01\n0.1\n0\n");
    EXPECT_EQ(test::queryJson("out.json", "len(d['traces'][0]['adev'])"), "0\n");
    test::ToolRun adev = run("--adev -o a.svg spurs.csv");
    std::optional<std::string> sigma = test::queryJson("piped.json", "'%.3e' % d['traces'][0]['adev'][2]['sigma_y']");
    ASSERT_TRUE(sigma);
    EXPECT_TRUE(has(adev.out, "                tau 1 ms    " + sigma->substr(0, sigma->size() - 1) + "\n")) << adev.out;
}

// A failing standard output is told and ends the run with status 1: the chart is not lost silently.
TEST_F(PlotDriver, StandardOutputThatFails) {
    struct Full : std::streambuf {
        int overflow(int) override { return traits_type::eof(); }
    } full;
    std::ostream out(&full);
    std::ostringstream err;
    test::writeFile("a.csv", "10,-100,-110\n100,-120,-130\n");
    const char* arguments[][4] = {
        {"pnpplot", "-o", "-", "a.csv"}, {"pnpplot", "-j", "-", "a.csv"}, {"pnpplot", "a.csv"}};
    for (const auto& argv : arguments) {
        err.str("");
        csv2pnp::PlotDriver driver;
        driver.out = &out;
        driver.err = &err;
        out.clear();
        EXPECT_EQ(driver.run(argv[3] ? 4 : 2, argv), 1) << argv[1];
        EXPECT_EQ(err.str(), "pnpplot: standard output: could not be written\n") << argv[1];
    }
}

// Faults once seen, each with the input that showed it.
TEST_F(PlotDriver, FaultsSeenBefore) {
    test::writeFile("osc1.csv", test::readFile(SAMPLE_EXPORT));
    // A band narrower than a double's digits of its ends: the log of the ratio keeps them.
    EXPECT_TRUE(has(run("-r 150:150.00000000001 osc1.csv").out, "  phase noise   -256.004 dBc\n"));
    // Equal offsets: spot noise and the figures both take the last.
    test::writeFile("twice.csv", "100,-90,-110\n100,-95,-115\n1000,-95,-115\n");
    test::ToolRun twice = run("twice.csv");
    EXPECT_TRUE(has(twice.out, "  spot noise    100 Hz    -95.00 dBc/Hz\n") &&
                has(twice.out, "  phase noise   -65.458 dBc\n"))
        << twice.out;
    EXPECT_TRUE(has(twice.err, "twice.csv phase noise: 1 point is at an offset given again later"));
    // Absurd levels: figures that overflow say so, and the level axis stays short and rounded.
    test::writeFile("huge.csv", "10,1e308,-100\n100,-100,-110\n");
    test::ToolRun huge = run("huge.csv");
    EXPECT_TRUE(has(huge.out, "  phase noise   overflows: the levels are beyond what a double holds\n")) << huge.out;
    std::string svg = test::readFile("huge.csv.svg");
    EXPECT_TRUE(has(svg, "dominant-baseline=\"middle\">1000</text>") && !has(svg, "0000</text>")) << svg.substr(0, 300);
    // A plot file without a CAR record, with -c.
    test::writeFile("nocar.pnp",
                    ";\nCAP x\n   TRA 0: 1000010.000 Hz, -100.000 dBc\n   TRA 1: 1000100.000 Hz, -120.000 dBc\n");
    test::ToolRun nocar = run("-c 1M nocar.pnp");
    EXPECT_EQ(nocar.err,
              "pnpplot: nocar.pnp: names no carrier (no CAR record): its offsets are taken from the carrier "
              "given with -c\n");
    EXPECT_TRUE(has(nocar.out, "  points        2, offsets 10 Hz to 100 Hz\n")) << nocar.out;
    // A carrier above every frequency leaves no offset: said, and nothing to draw, not a crash.
    test::ToolRun above = run("-c 2M nocar.pnp");
    EXPECT_EQ(above.status, 1);
    EXPECT_TRUE(has(above.err,
                    "pnpplot: nocar.pnp: x: no frequency lies above the carrier 2 MHz, so no offset is left "
                    "to draw\npnpplot: nothing to draw\n"))
        << above.err;
    // A caption in Windows-1252 shows as written; an assumed carrier and -n say so in the legend.
    test::writeFile("cp.pnp",
                    ";\nCAP Messung_\xb5_\xe9\nCAR 10000000 Hz, 3dBm\n   TRA 0: 10000010.000 Hz, -100.000 dBc\n"
                    "   TRA 1: 10000100.000 Hz, -120.000 dBc\n");
    EXPECT_EQ(run("-n 100M -o cp.svg cp.pnp osc1.csv").status, 0);
    svg = test::readFile("cp.svg");
    EXPECT_TRUE(has(svg, ">Messung_\xc2\xb5_\xc3\xa9</text>"));
    EXPECT_TRUE(has(svg, ">carrier 100 MHz</text>") && has(svg, ">normalised from 10 MHz</text>"));
    EXPECT_TRUE(has(svg, ">carrier 100 MHz (assumed)</text>"));
}

// The report and the display options: what goes where, and what smoothing changes.
TEST_F(PlotDriver, ReportAndDisplayOptions) {
    test::writeFile("osc1.csv", test::readFile(SAMPLE_EXPORT));
    test::ToolRun plain = run("-r 10:100k osc1.csv");
    test::ToolRun smooth = run("-r 10:100k --smooth 0.5 --html report.html osc1.csv");
    EXPECT_EQ(smooth.status, 0);
    EXPECT_TRUE(has(smooth.out, "Chart written to osc1.csv.svg\nReport written to report.html\n"));
    EXPECT_TRUE(has(smooth.out, "  smoothing     0.5 decades, in the spot noise and the chart only\n"));
    // Smoothing moves the spot noise, not the figures.
    auto field = [](const std::string& text, const std::string& name) {
        std::size_t at = text.find("\n  " + name);
        return text.substr(at, text.find('\n', at + 1) - at);
    };
    EXPECT_NE(field(plain.out, "spot noise"), field(smooth.out, "spot noise"));
    EXPECT_EQ(field(plain.out, "phase noise"), field(smooth.out, "phase noise"));
    EXPECT_TRUE(has(test::readFile("osc1.csv.svg"), ">smoothed over 0.5 decades</text>"));
    std::string report = test::readFile("report.html");
    EXPECT_EQ(report.rfind("<!DOCTYPE html>\n", 0), 0u);
    for (const char* external : {"src=", "href=", "https:", "@import", "url("}) {
        EXPECT_FALSE(has(report, external)) << external;  // the page needs nothing but itself
    }
    auto count = [&](const std::string& part) {
        std::size_t n = 0;
        for (std::size_t at = 0; (at = report.find(part, at)) != std::string::npos; ++at) ++n;
        return n;
    };
    EXPECT_EQ(count("http:"), count("http://www.w3.org/2000/svg"));  // the SVG namespace names no place
    // -o FILE.html writes the report alone; --dark the dark variant.
    std::filesystem::remove("osc1.csv.svg");
    test::ToolRun alone = run("--dark -o only.html osc1.csv");
    EXPECT_EQ(alone.status, 0);
    EXPECT_TRUE(has(alone.out, "Report written to only.html\n") && !has(alone.out, "Chart written"));
    EXPECT_FALSE(std::filesystem::exists("osc1.csv.svg"));
    EXPECT_TRUE(has(test::readFile("only.html"), "fill=\"" + darkTheme().background + "\""));
    EXPECT_EQ(run("-o a.html --html b.html osc1.csv").err,
              "pnpplot: -o a.html and --html both name the HTML report\nTry 'pnpplot --help'.\n");
    EXPECT_EQ(run("--smooth 0 osc1.csv").status, 2);
}

// A session of measurements: each input with its own carrier and label, options anywhere, and
// two inputs of one name told apart by their folders.
TEST_F(PlotDriver, ACarrierAndALabelPerInput) {
    const std::string flat = "10000,-100\n10000000,-100\n";
    test::writeFile("ref.csv", flat);
    test::writeFile("xo.csv", flat);
    std::filesystem::create_directories("a");
    std::filesystem::create_directories("b");
    test::writeFile("a/meas.csv", flat);
    test::writeFile("b/meas.csv", flat);
    test::ToolRun session = run("-c 10M -l Reference ref.csv -c 100M -l XO xo.csv -r 10k:10M");
    EXPECT_EQ(session.status, 0) << session.err;
    // The same noise, -100 dBc/Hz over 10 kHz to 10 MHz: A = 1e-10 (1e7 - 1e4), the RMS phase
    // sqrt(2A) = 44.699 mrad, and the jitter falls as the carrier rises.
    EXPECT_TRUE(has(session.out,
                    "\nReference\n  source        ref.csv\n  layout        numbers separated by commas (pn2060)\n"
                    "  carrier       10 MHz (-c)\n"))
        << session.out;
    EXPECT_TRUE(has(session.out, "\nXO\n  source        xo.csv\n"));
    EXPECT_TRUE(has(session.out, "  carrier       100 MHz (-c)\n"));
    EXPECT_TRUE(has(session.out, "  RMS jitter    711.41 ps\n") && has(session.out, "  RMS jitter    71.141 ps\n"))
        << session.out;
    test::ToolRun folders = run("a/meas.csv b/meas.csv");
    EXPECT_TRUE(has(folders.out, "\na/meas.csv phase noise\n") && has(folders.out, "\nb/meas.csv phase noise\n"))
        << folders.out;
}

// The figures an R&S analyzer integrated itself, beside pnpplot's over the same range. The
// instrument sums its trace as the trapezoid in linear power over linear offset; on traces with
// tones 6 to 16 points wide, pnpplot's default (each spur at its power) is held to within 0.1 dB
// of it, and the straight lines in log f and dB of --spurs measured, which lose part of each
// tone, are further off.
TEST_F(PlotDriver, FiguresBesideTheInstruments) {
    if (!test::haveJsonParser()) GTEST_SKIP() << "needs python3 to parse JSON";
    const test::PrintedTrace trace = test::fswpTrace(1);
    const test::RsExport tabs = test::fswp26TabExport(trace, {{1e3, 10e6}, {10, 1e6}});
    const test::RsExport numerical = test::fswp8NumericalExport(test::fswpTrace(2, 3), test::fswpTrace(3, -2), 1, 30e6);
    test::writeFile("FSWP26.DAT", tabs.bytes);
    test::writeFile("FSWP8.DAT", numerical.bytes);
    std::vector<double> apart[2];
    for (int measured : {0, 1}) {
        test::ToolRun drawn =
            run(std::string(measured ? "--spurs measured " : "") + "-j out.json FSWP26.DAT FSWP8.DAT");
        EXPECT_EQ(drawn.status, 0);
        EXPECT_EQ(drawn.err, "");
        std::optional<std::string> rows =
            test::queryJson("out.json",
                            "['%r %r' % (i['int_noise_dbc'], i['difference_db']) for t in d['traces'] "
                            "for i in t['instrument_integration']]");
        ASSERT_TRUE(rows);
        std::istringstream lines(*rows);
        std::size_t k = 0;
        for (double given, difference; lines >> given >> difference; ++k) {
            const test::IntegratedRange& range = (k < 2 ? tabs.ranges : numerical.ranges).at(k % 2);
            EXPECT_EQ(given, range.noiseDbc);
            apart[measured].push_back(std::fabs(difference));
        }
        EXPECT_EQ(k, 4u);
        EXPECT_TRUE(has(drawn.out, " dBc over 1 kHz to 10 MHz (FSWP-26), pnpplot -") &&
                    has(drawn.out, "                the instrument smoothed the trace (Smoothing ON)"))
            << drawn.out;
    }
    for (std::size_t k = 0; k < apart[0].size(); ++k) {
        EXPECT_LT(apart[0][k], 0.1) << "range " << k << ": pnpplot's default is " << apart[0][k]
                                    << " dB from the instrument's figure";
        EXPECT_GT(apart[1][k], apart[0][k]) << "range " << k;
    }
}

// The datasheet's figures end to end: what each option puts on the console and the chart.
TEST_F(PlotDriver, DatasheetFigures) {
    test::writeFile("before.csv", "10,-100\n1000,-140\n100000,-150\n");
    test::writeFile("after.csv", "100,-125\n100000,-160\n");
    test::ToolRun relative = run("--relative-to 1 --spot 1,1k -o rel.svg before.csv after.csv");
    EXPECT_EQ(relative.status, 0) << relative.err;
    EXPECT_TRUE(has(relative.out,
                    "  relative      to before.csv phase noise: best -10.00 dB at 100 kHz, worst 3.33 dB "
                    "at 1 kHz (a negative difference is an improvement)\n"))
        << relative.out;
    EXPECT_TRUE(has(relative.out, "  spot noise    1 Hz      outside the trace\n"));
    // An offset of ten characters widens its column for the whole table.
    EXPECT_TRUE(has(run("--spot 1,12.589k after.csv").out,
                    "  spot noise    1 Hz        outside the trace\n                12.589 kHz  -149.50 dBc/Hz\n"));
    const std::string svg = test::readFile("rel.svg");
    EXPECT_TRUE(has(svg, ">difference from before.csv phase noise (dB)</text>") &&
                has(svg, ">before.csv phase noise (0 dB)</text>"));
    // -125 dBc/Hz at 100 Hz from 10 MHz: -125 + 3.0103 - 20 log10(2 pi 1e7) = -277.95 dB s²/Hz.
    test::ToolRun density = run("--density Sx -o sx.svg after.csv");
    EXPECT_TRUE(has(test::readFile("sx.svg"), ">S_x(f) (dB s²/Hz)</text>"));
    EXPECT_TRUE(has(density.out, "  spot Sx       100 Hz    -277.95 dB s²/Hz\n")) << density.out;
    // The hat's oscillators take the inputs' labels; at 1 kHz B against C is far above A against
    // B and C, so A's power there comes out negative: left out under that reason.
    test::writeFile("ab.csv", "10,-116.99\n1000,-116.99\n100000,-116.99\n");
    test::writeFile("ac.csv", "10,-119.59\n1000,-119.59\n100000,-119.59\n");
    test::writeFile("bc.csv", "10,-119.59\n1000,-100\n100000,-119.59\n");
    test::ToolRun hat = run("--hat -o hat.svg -l REF ab.csv -l DUT1 ac.csv -l DUT2 bc.csv");
    EXPECT_TRUE(has(hat.out, "\nREF\n  source        ab.csv, ac.csv, bc.csv\n") && has(hat.out, "\nDUT1\n") &&
                has(hat.out, "\nDUT2\n"))
        << hat.out;
    EXPECT_TRUE(has(hat.out, "  left out      1 (came out at or below no power in the three-cornered hat)\n"))
        << hat.out;
    EXPECT_TRUE(has(hat.err, "REF: 1 point of the three-cornered hat came out at or below no power")) << hat.err;
    EXPECT_EQ(run("--hat before.csv after.csv").err,
              "pnpplot: --hat needs three inputs: A against B, A against C and B against C\nTry 'pnpplot --help'.\n");
}

// The time domain and the fit from the command line: the deviations at three tau a decade, the
// stability chart written and in the report, the fit's lines on the chart; the options that do
// not stand alone refused.
TEST_F(PlotDriver, StabilityAndFit) {
    // White FM, -100 dBc/Hz at 1 Hz on 10 MHz: sigma_y(1 s) = 1e-12, MDEV^2 / ADEV^2 = 1/2.
    test::writeFile("white.csv", "0.01,-60\n1,-100\n100,-140\n10000,-180\n1000000,-220\n");
    test::ToolRun runs =
        run("--adev --mdev --tdev --tau 1-2-5 --fit --stability-chart s.svg --html r.html "
            "-j w.json -o w.svg white.csv");
    EXPECT_EQ(runs.status, 0) << runs.err;
    EXPECT_TRUE(has(runs.out, "Stability chart written to s.svg\n")) << runs.out;
    EXPECT_TRUE(has(runs.out, "                tau 1 s     1.000e-12\n")) << runs.out;
    EXPECT_TRUE(has(runs.out, "                white FM  f^-2  -100.00 ± 0.00 dBc/Hz  h0 = 2.000e-24\n")) << runs.out;
    // 1/tau from 0.1 Hz to 100 kHz, three a decade; the ratio at 1 ms, three decades from the end.
    if (test::haveJsonParser()) {
        EXPECT_EQ(
            test::queryJson("w.json",
                            "[len(d['traces'][0]['adev']), round((d['traces'][0]['mdev'][6]['sigma_y'] / "
                            "d['traces'][0]['adev'][6]['sigma_y']) ** 2, 3), "
                            "[(t['alpha'], t['type'], '%.6g' % t['h']) for t in d['traces'][0]['fit']['terms']]]"),
            "19\n0.5\n[(0, 'white FM', '2e-24')]\n");
    }
    const std::string stability = test::readFile("s.svg");
    EXPECT_TRUE(has(stability, "class=\"stability\"") && has(stability, ">white.csv phase noise TDEV (right)</text>"));
    EXPECT_TRUE(has(test::readFile("r.html"), "<section id=\"stability\"><h2>Frequency stability</h2>"));
    EXPECT_TRUE(has(test::readFile("w.svg"), "<g class=\"fit\" data-trace=\"0\">"));
    EXPECT_EQ(run("--stability-chart s.svg white.csv").err,
              "pnpplot: --stability-chart draws the deviations: give --adev, --mdev or --tdev\n"
              "Try 'pnpplot --help'.\n");
    EXPECT_EQ(run("--tau 2 white.csv").status, 2);
}

// Many files at once: a chart and a report per input in the folders -o and --html name, two
// inputs of one name kept apart, a folder that cannot be written told and the rest still
// written; the table, a row a trace, its figures those of the summary; fixed scales cut the
// traces to the plot.
TEST_F(PlotDriver, EachInputAndTheTable) {
    std::filesystem::create_directories("charts");
    std::filesystem::create_directories("b");
    test::writeFile("a.csv", "10,-100,-110\n100,-120,-130\n");
    test::writeFile("b/a.csv", "10,-90,-100\n100,-110,-120\n");
    test::writeFile("c,d.csv", "10,-95\n100,-115\n");
    test::writeFile("mask.txt", "10,-92\n100,-112\n");
    test::ToolRun each = run("--each -o charts/ --html charts/ --table t.csv -m mask.txt a.csv b/a.csv c,d.csv");
    EXPECT_EQ(each.status, 3) << each.err;  // b/a.csv fails the mask
    EXPECT_EQ(each.out.substr(0, each.out.find("\n\n")),
              "Chart written to charts/a.csv.svg\nReport written to charts/a.csv.html\n"
              "Chart written to charts/a.csv-2.svg\nReport written to charts/a.csv-2.html\n"
              "Chart written to charts/c,d.csv.svg\nReport written to charts/c,d.csv.html\nTable written to t.csv");
    EXPECT_TRUE(has(test::readFile("charts/a.csv-2.svg"), ">b/a.csv phase noise</text>"));
    const std::string table = test::readFile("t.csv");
    EXPECT_EQ(table.substr(0, table.find("\r\n")), summaryTableHeader);
    // -100 to -120 dBc/Hz over 10 Hz to 100 Hz: 10 log10(integral of 1e-10 (10 / f)^2 df) =
    // 10 log10(1e-8 (1/10 - 1/100)) = -90.458 dBc; the floor has no spurs nor mask.
    EXPECT_TRUE(has(table, "\r\na.csv,a.csv phase noise,1e+07,10,100,-90.45757490560675,"));
    EXPECT_TRUE(has(table, ",0,10,pass,power\r\na.csv,a.csv floor,1e+07,10,100,"));
    EXPECT_TRUE(has(table, ",0,10,fail,power\r\n"));
    EXPECT_TRUE(has(table, "\r\n\"c,d.csv\",\"c,d.csv phase noise\",1e+07,"));
    EXPECT_EQ(std::count(table.begin(), table.end(), '\n'), 6);
    test::RecordingHost refusing;
    refusing.faults.push_back({test::HostCall::create, "a.csv.svg", 0});
    test::ToolRun refused = run("--each a.csv c,d.csv", refusing.seam());
    EXPECT_EQ(refused.status, 1);
    EXPECT_EQ(refused.err, "pnpplot: a.csv.svg: could not be written\n");
    EXPECT_TRUE(has(refused.out, "Chart written to c,d.csv.svg\n"));
    EXPECT_EQ(run("--each -o x.svg a.csv").err,
              "pnpplot: -o x.svg: with --each, -o names the folder of the charts; end it with / (such as -o "
              "charts/)\nTry 'pnpplot --help'.\n");
    const std::string fixed = run("--x-range 20:50 --y-range -130:-90 --size 800x400 -o - a.csv").out;
    EXPECT_TRUE(has(fixed, "width=\"800\" height=\"400\"") && has(fixed, "<clipPath id=\"plot-clip\">") &&
                has(fixed, "clip-path=\"url(#plot-clip)\""));
}

// A tone on one point of a flat -150 dBc/Hz trace, 100 Hz to 10 kHz in steps of 100 Hz, raised
// 30 dB at 1 kHz: its width is (1100 - 900) / 2 = 100 Hz and its power P = 100 (1e-12 - 1e-15).
// By default, and with --spurs power, the clean line's 1e-15 * 9900 plus P; measured, the two
// straight segments in log f and dB beside the tone, each p1 f1 / (b + 1) ((f2/f1)^(b+1) - 1);
// omitted, the clean line alone.
TEST_F(PlotDriver, SpursAtTheirPowerByDefault) {
    std::string tone;
    for (int f = 100; f <= 10000; f += 100) tone += std::to_string(f) + (f == 1000 ? ",-120\n" : ",-150\n");
    test::writeFile("tone.csv", tone);
    const auto segment = [](double f1, double l1, double f2, double l2) {
        const double b = (l2 - l1) / (10 * std::log10(f2 / f1));
        return std::pow(10, l1 / 10) * f1 / (b + 1) * (std::pow(f2 / f1, b + 1) - 1);
    };
    const double measured = 1e-15 * 9700 + segment(900, -150, 1000, -120) + segment(1000, -120, 1100, -150);
    const std::pair<const char*, double> modes[] = {
        {"", 1e-15 * 9900 + 100 * (1e-12 - 1e-15)},
        {"--spurs power", 1e-15 * 9900 + 100 * (1e-12 - 1e-15)},
        {"--spurs measured", measured},
        {"--spurs omit", 1e-15 * 9900},
    };
    for (const auto& [option, area] : modes) {
        std::string row = run(std::string("--table - ") + option + " tone.csv").out;
        row = row.substr(row.find("\r\n") + 2);
        std::vector<std::string> cells;
        std::istringstream split(row.substr(0, row.find('\r')));
        for (std::string cell; std::getline(split, cell, ',');) cells.push_back(cell);
        ASSERT_EQ(cells.size(), 13u) << row;
        EXPECT_NEAR(cellNumber(cells[5]).value_or(0), 10 * std::log10(area), 1e-9) << option;
        EXPECT_EQ(cells[12], *option ? std::string(option).substr(8) : "power") << option;
    }
}

// Files dropped on pnpplot in Explorer, in a console of its own: the report beside the first
// input that reads ("-2" when an input has its name), shown in the browser, and no chart; the
// window held open after an error, a warning or a report the browser refused, not after a
// mask's verdict; with --each, a chart and a report per input there.
TEST_F(PlotDriver, DroppedOnInExplorer) {
    const std::string browse = "browse C:\\m\\a.csv.html", wait = "wait for a key";
    const struct {
        const char* arguments;
        std::vector<std::string> calls;  // the files created, the report shown, the wait
        int status;
        std::string errEnd;
        std::vector<test::HostFault> faults = {};
    } cases[] = {
        {"C:\\m\\a.csv C:\\m\\b.csv", {"create C:\\m\\a.csv.html", browse}, 0, ""},
        {"D:\\gone.csv C:\\m\\a.csv C:\\m\\a.csv.html",
         {"create C:\\m\\a.csv-2.html", "browse C:\\m\\a.csv-2.html", wait},
         1,
         "pnpplot: D:\\gone.csv: cannot be opened\n"},
        {"C:\\m\\twice.csv",
         {"create C:\\m\\twice.csv.html", "browse C:\\m\\twice.csv.html", wait},
         0,
         "the last of equal offsets is used\n"},
        {"-m C:\\m\\mask.txt C:\\m\\a.csv", {"create C:\\m\\a.csv.html", browse}, 3, ""},
        {"C:\\m\\a.csv",
         {"create C:\\m\\a.csv.html", browse + ": refused", wait},
         0,
         "pnpplot: C:\\m\\a.csv.html: could not be opened in the browser; open it from its folder\n",
         {{test::HostCall::browse, ""}}},
        {"--each C:\\m\\a.csv", {"create C:\\m\\a.csv.svg", "create C:\\m\\a.csv.html"}, 0, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.arguments);
        test::RecordingHost host;
        host.inMemory = true;
        host.ownConsole = true;
        host.faults = c.faults;
        host.files = {{"C:\\m\\a.csv", "10,-100.4,-110.2\n100,-119.6,-130.5\n1000,-140.3,-150.1\n"},
                      {"C:\\m\\b.csv", "10,-90.3,-110.4\n100,-110.5,-130.2\n1000,-129.6,-150.3\n"},
                      {"C:\\m\\a.csv.html", "10,-95.2,-110.1\n100,-114.8,-130.4\n"},  // an input so named
                      {"C:\\m\\twice.csv", "100,-90.2,-110.3\n100,-95.4,-115.1\n1000,-95.1,-115.2\n"},
                      {"C:\\m\\mask.txt", "10,-110\n1k,-150\n"}};
        const std::string input = host.files["C:\\m\\a.csv.html"];
        test::ToolRun drawn = run(c.arguments, host.seam());
        EXPECT_EQ(drawn.status, c.status);
        std::vector<std::string> calls;
        for (const std::string& call : host.calls) {
            if (call.rfind("create ", 0) == 0 || call.rfind("browse ", 0) == 0 || call == wait) calls.push_back(call);
        }
        EXPECT_EQ(calls, c.calls);
        const std::string err = calls.back() == wait ? c.errEnd + pressAKeyText + "\n" : c.errEnd;
        const std::size_t from = err.empty() ? 0 : drawn.err.size() - std::min(drawn.err.size(), err.size());
        EXPECT_EQ(drawn.err.substr(from), err) << drawn.err;
        EXPECT_TRUE(has(drawn.out, "\na.csv phase noise\n") || has(drawn.out, "\ntwice.csv phase noise\n"));
        if (has(c.arguments, "a.csv.html")) {
            EXPECT_EQ(host.files["C:\\m\\a.csv.html"], input);  // an input is never a report
        }
    }
    EXPECT_STREQ(pressAKeyText, "Press a key to close this window.");
}

// On a terminal a long reading shows how far it has come, and clears the line before a
// message and at the end; elsewhere, or within a second, nothing is shown.
TEST_F(PlotDriver, ProgressOnATerminal) {
    test::writeFile("a.csv", "10,-100\n100,-120\n");
    test::writeFile("empty.csv", "");
    for (bool terminal : {true, false}) {
        test::RecordingHost host;
        host.terminal = terminal;
        host.clockStep = 0.6;  // each reading of the clock, 0.6 s on: from the second input on
        test::ToolRun drawn = run("-o - a.csv a.csv empty.csv a.csv", host.seam());
        const std::string blank(std::string("pnpplot: read 2 of 4 inputs").size(), ' ');
        EXPECT_EQ(drawn.err, terminal ? "\rpnpplot: read 1 of 4 inputs\rpnpplot: read 2 of 4 inputs\r" + blank +
                                            "\rpnpplot: empty.csv: holds no trace\n\rpnpplot: read 3 of 4 inputs\r"
                                            "pnpplot: read 4 of 4 inputs\r" +
                                            blank + "\r"
                                      : std::string("pnpplot: empty.csv: holds no trace\n"));
    }
}

}  // namespace
}  // namespace csv2pnp
