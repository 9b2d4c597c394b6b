#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#ifndef _WIN32
#include <sys/wait.h>
#endif

#include <gtest/gtest.h>

#include "chart/chart_layout.h"
#include "text/xml_text.h"
#include "json_parser.h"
#include "plot_runs.h"
#include "scratch_dir.h"

namespace csv2pnp {
namespace {

class Pnpplot : public test::ScratchDir {
protected:
    test::ToolRun run(const std::string& arguments) { return test::runPnpplot(arguments); }

    // The sample export converted by csv2pnp into osc1.csv.pnp and osc1.csv.img.pnp here.
    void convertSample() {
        test::writeFile("osc1.csv", test::readFile(SAMPLE_EXPORT));
        ASSERT_EQ(test::runTool("osc1.csv").status, 0);
    }
};

TEST_F(Pnpplot, DrawsTheConvertedSampleAndSumsItUp) {
    convertSample();
    test::ToolRun drawn = run("osc1.csv.pnp osc1.csv.img.pnp");
    EXPECT_EQ(drawn.status, 0);
    EXPECT_EQ(drawn.err, "");
    EXPECT_EQ(drawn.out.rfind("Chart written to osc1.csv.pnp.svg\n\n"
                              "osc1.csv\n"
                              "  source        osc1.csv.pnp\n"
                              "  layout        a plot file (pnp)\n"
                              "  file time     ",
                              0),
              0u)
        << drawn.out;
    EXPECT_NE(drawn.out.find(" UTC (TIM record)\n"
                             "  carrier       10 MHz (CAR record)\n"
                             "  points        51, offsets 10 Hz to 1 MHz\n"
                             "  spot noise    10 Hz     -119.86 dBc/Hz\n"),
              std::string::npos)
        << drawn.out;
    EXPECT_NE(drawn.out.find("\nosc1.csv floor\n  source        osc1.csv.img.pnp\n"), std::string::npos);
    EXPECT_NE(drawn.out.find("  spot noise    10 Hz     -131.53 dBc/Hz\n"), std::string::npos);
    EXPECT_EQ(test::readFile("osc1.csv.pnp.svg").rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg ", 0), 0u);
    // Its output taken by another program, it is no run dropped on it in Explorer: no report.
    EXPECT_FALSE(std::filesystem::exists("osc1.csv.pnp.html"));
}

// The chart the README shows is the one pnpplot draws today.
TEST_F(Pnpplot, DocumentedChartIsCurrent) {
    test::writeFile("osc1.csv", test::readFile(SAMPLE_EXPORT));
    ASSERT_EQ(run("-r 10:100k -o chart.svg osc1.csv").status, 0);
    EXPECT_TRUE(test::readFile("chart.svg") == test::readFile(DOCUMENTED_CHART))
        << "redraw it: pnpplot -r 10:100k -o doc/osc1.svg examples/osc1.csv";
}

TEST_F(Pnpplot, FiguresOfAFlatExport) {
    test::writeFile("flat.csv", "1000,-100,-110\n1000000,-100,-110\n");
    test::ToolRun drawn = run("-c 100M -r 1k:2M -o chart.svg flat.csv");
    EXPECT_EQ(drawn.status, 0);
    EXPECT_NE(drawn.out.find("flat.csv phase noise\n"
                             "  source        flat.csv\n"
                             "  layout        a PN2060 export (pn2060)\n"
                             "  carrier       100 MHz (-c)\n"
                             "  points        2, offsets 1 kHz to 1 MHz\n"
                             "  spot noise    1 kHz     -100.00 dBc/Hz\n"
                             "                10 kHz    -100.00 dBc/Hz\n"
                             "                100 kHz   -100.00 dBc/Hz\n"
                             "                1 MHz     -100.00 dBc/Hz\n"
                             "  integrated    1 kHz to 1 MHz (the range 1 kHz to 2 MHz clipped to the trace)\n"
                             "  phase noise   -40.004 dBc\n"
                             "  RMS phase     14.135 mrad, 0.80988 deg\n"
                             "  RMS jitter    22.497 ps\n"
                             "  residual FM   8164.97 Hz\n"),
              std::string::npos)
        << drawn.out;
    EXPECT_NE(drawn.out.find("flat.csv floor\n"), std::string::npos);
    EXPECT_TRUE(std::filesystem::exists("chart.svg"));
}

#ifndef _WIN32
struct Image {
    int width = 0, height = 0;
    std::string rgb;

    std::array<int, 3> at(int x, int y) const {
        std::size_t i =
            3 * (static_cast<std::size_t>(y) * static_cast<std::size_t>(width) + static_cast<std::size_t>(x));
        return {static_cast<unsigned char>(rgb[i]), static_cast<unsigned char>(rgb[i + 1]),
                static_cast<unsigned char>(rgb[i + 2])};
    }
};

// A binary PPM as pngtopnm writes it.
Image readPpm(const std::string& bytes) {
    Image image;
    int maxValue = 0, consumed = 0;
    std::sscanf(bytes.c_str(), "P6 %d %d %d%n", &image.width, &image.height, &maxValue, &consumed);
    image.rgb = bytes.substr(static_cast<std::size_t>(consumed) + 1);
    EXPECT_EQ(maxValue, 255);
    EXPECT_EQ(image.rgb.size(), 3u * static_cast<std::size_t>(image.width * image.height));
    return image;
}

std::array<int, 3> rgbOf(const char* hex) {
    unsigned value = static_cast<unsigned>(std::stoul(hex + 1, nullptr, 16));
    return {static_cast<int>(value >> 16), static_cast<int>((value >> 8) & 0xff), static_cast<int>(value & 0xff)};
}

bool canRender() { return std::system("command -v rsvg-convert >/dev/null && command -v pngtopnm >/dev/null") == 0; }

// The SVG as rsvg-convert draws it.
Image rendered(const std::string& svg) {
    EXPECT_EQ(std::system(("rsvg-convert " + svg + " -o rendered.png && pngtopnm rendered.png >rendered.ppm").c_str()),
              0);
    return readPpm(test::readFile("rendered.ppm"));
}

// Pixels inside the plot area within a small distance of the colour.
int pixelsOf(const Image& image, const char* hex) {
    std::array<int, 3> colour = rgbOf(hex);
    int count = 0;
    for (int y = plotArea.top + 2; y < plotArea.top + plotArea.height - 2; ++y) {
        for (int x = plotArea.left + 2; x < plotArea.left + plotArea.width - 2; ++x) {
            std::array<int, 3> p = image.at(x, y);
            int distance = std::abs(p[0] - colour[0]) + std::abs(p[1] - colour[1]) + std::abs(p[2] - colour[2]);
            count += distance <= 24;
        }
    }
    return count;
}

// A real renderer draws the chart: white background, and each trace's colour in the plot area.
TEST_F(Pnpplot, RenderedChartShowsEachTraceOnWhite) {
    if (std::system(
            "command -v rsvg-convert >/dev/null && command -v pngtopnm >/dev/null && command -v xmllint >/dev/null") !=
        0) {
        GTEST_SKIP() << "needs rsvg-convert (librsvg2-bin), pngtopnm (netpbm) and xmllint";
    }
    convertSample();
    // An export of another oscillator, 20 dB quieter, so that no trace hides another.
    test::writeFile("osc2.csv", "1,-110,-120\n1000,-170,-185\n1000000,-180,-195\n");
    ASSERT_EQ(run("-r 100:100k osc1.csv.pnp osc1.csv.img.pnp osc2.csv").status, 0);
    ASSERT_EQ(std::system("xmllint --noout osc1.csv.pnp.svg"), 0);
    ASSERT_EQ(std::system("rsvg-convert osc1.csv.pnp.svg -o chart.png && pngtopnm chart.png >chart.ppm"), 0);
    Image image = readPpm(test::readFile("chart.ppm"));
    ASSERT_EQ(image.width, 1080);
    ASSERT_EQ(image.height, 600);
    for (auto [x, y] : {std::pair{1, 1}, {1078, 1}, {1, 598}, {1078, 598}, {plotArea.left + 20, plotArea.top + 400}}) {
        EXPECT_EQ(image.at(x, y), (std::array<int, 3>{255, 255, 255})) << x << "," << y;
    }
    // The plot file pair in the first hue, the export's two traces in the second.
    EXPECT_GT(pixelsOf(image, lightTheme().palette[0].c_str()), 500);
    EXPECT_GT(pixelsOf(image, lightTheme().palette[1].c_str()), 500);
    EXPECT_EQ(pixelsOf(image, lightTheme().palette[2].c_str()), 0);
}

// The limit mask in its own colour, and the offsets too close to the floor shaded lightly
// in the trace's hue.
TEST_F(Pnpplot, RenderedChartShowsTheMaskAndTheMarginShading) {
    if (std::system("command -v rsvg-convert >/dev/null && command -v pngtopnm >/dev/null") != 0) {
        GTEST_SKIP() << "needs rsvg-convert (librsvg2-bin) and pngtopnm (netpbm)";
    }
    test::writeFile("spurs.csv", test::readFile(std::string(EXAMPLES) + "/spurs.csv"));
    test::writeFile("mask.txt", test::readFile(std::string(EXAMPLES) + "/mask.txt"));
    ASSERT_EQ(run("-m mask.txt -o chart.svg spurs.csv").status, 3);
    ASSERT_EQ(std::system("rsvg-convert chart.svg -o chart.png && pngtopnm chart.png >chart.ppm"), 0);
    Image image = readPpm(test::readFile("chart.ppm"));
    EXPECT_GT(pixelsOf(image, lightTheme().maskColour.c_str()), 150);
    // 1 Hz to 1 MHz across the plot: 150 kHz lies in the shaded range, 1.5 kHz does not.
    auto xAt = [](double offset) { return plotArea.left + static_cast<int>(std::log10(offset) / 6 * plotArea.width); };
    std::array<int, 3> shaded = image.at(xAt(1.5e5), plotArea.top + 8), clear = image.at(xAt(1.5e3), plotArea.top + 8);
    // Without -r no band is shaded: the one close to the floor is shaded in the trace's hue on
    // white, the other is white.
    std::array<int, 3> hue = rgbOf(lightTheme().palette[0].c_str());
    for (int c = 0; c < 3; ++c) {
        EXPECT_NEAR(shaded[static_cast<std::size_t>(c)], 255 + 0.12 * (hue[static_cast<std::size_t>(c)] - 255), 3) << c;
        EXPECT_EQ(clear[static_cast<std::size_t>(c)], 255) << c;
    }
}

// Twelve decades of offsets from 1 uHz on the least canvas and the default one: each decade
// labelled has its prefix, and between neighbouring labels the renderer leaves a gap, the
// labels' widths as the layout estimates them never less than what is drawn.
TEST_F(Pnpplot, RenderedTickLabelsNeverTouch) {
    if (!canRender()) GTEST_SKIP() << "needs rsvg-convert (librsvg2-bin) and pngtopnm (netpbm)";
    test::writeFile("wide.csv",
                    "0.000001,-20.3,-40.1\n0.001,-59.6,-80.4\n1,-100.2,-120.5\n1000,-139.7,-160.2\n"
                    "1000000,-170.4,-180.1\n");
    for (const char* size : {"640x400", "1080x600"}) {
        ASSERT_EQ(run(std::string("-c 1G --size ") + size + " -o wide.svg wide.csv").status, 0);
        const std::string svg = test::readFile("wide.svg");
        const Image image = rendered("wide.svg");
        const int bottom = image.height - 70;  // the plot's bottom: the offset labels' baseline 18 under it
        std::vector<double> centres;
        const std::string row = "\" y=\"" + std::to_string(bottom + 18) + "\" text-anchor=\"middle\">";
        for (std::size_t at = svg.find(row); at != std::string::npos; at = svg.find(row, at + 1)) {
            centres.push_back(std::stod(svg.substr(svg.rfind("x=\"", at) + 3)));
            EXPECT_NE(svg.substr(at + row.size(), 8).find("Hz"), std::string::npos) << size;
        }
        ASSERT_GE(centres.size(), 3u) << size;
        EXPECT_NE(svg.find(" \xc2\xb5Hz</text>"), std::string::npos) << size;
        for (std::size_t i = 1; i < centres.size(); ++i) {
            const int middle = static_cast<int>(std::lround((centres[i - 1] + centres[i]) / 2));
            for (int y = bottom + 6; y < bottom + 22; ++y) {
                for (int x = middle - 1; x <= middle + 1; ++x) {
                    EXPECT_EQ(image.at(x, y), (std::array<int, 3>{255, 255, 255})) << size << " at " << x << "," << y;
                }
            }
        }
    }
}

// Two phase-noise traces of one file: the first in the input's hue, the second in a darker
// shade of it. Two bands, each in its own light tint, on the light and the dark background.
TEST_F(Pnpplot, RenderedTracesOfOneFileAndTintedBands) {
    if (!canRender()) GTEST_SKIP() << "needs rsvg-convert (librsvg2-bin) and pngtopnm (netpbm)";
    test::writeFile("two.csv",
                    "Offset (Hz),Trace 1 (dBc/Hz),Trace 2 (dBc/Hz)\n1,-100.4,-70.2\n1000,-150.3,-119.6\n"
                    "1000000,-160.5,-130.1\n");
    for (bool dark : {false, true}) {
        ASSERT_EQ(run(std::string(dark ? "--dark " : "") + "-r 10:100 -r 10k:100k -o two.svg two.csv").status, 0);
        const Image image = rendered("two.svg");
        const ChartTheme& theme = dark ? darkTheme() : lightTheme();
        if (!dark) {
            EXPECT_GT(pixelsOf(image, theme.palette[0].c_str()), 500);
            EXPECT_GT(pixelsOf(image, "#00446b"), 300);  // 40 % of the way to black
        }
        // 1 Hz to 1 MHz across the plot; near the bottom, under the traces.
        auto at = [&](double offset) {
            return image.at(plotArea.left + static_cast<int>(std::log10(offset) / 6 * plotArea.width),
                            plotArea.top + plotArea.height - 20);
        };
        const std::array<int, 3> background = rgbOf(theme.background.c_str()), first = at(45), second = at(45e3),
                                 outside = at(4.5e3);
        auto distance = [](std::array<int, 3> a, std::array<int, 3> b) {
            return std::abs(a[0] - b[0]) + std::abs(a[1] - b[1]) + std::abs(a[2] - b[2]);
        };
        EXPECT_EQ(outside, background) << dark;
        EXPECT_GT(distance(first, background), 20) << dark;
        EXPECT_GT(distance(second, background), 20) << dark;
        EXPECT_GT(distance(first, second), 30) << dark;
        for (std::size_t c = 0; c < 3; ++c) {
            const double tinted =
                background[c] + theme.tintOpacity * (rgbOf(theme.bandTints[0].c_str())[c] - background[c]);
            EXPECT_NEAR(first[c], tinted, 2) << dark << " " << c;
        }
    }
}

// With --subtract-floor the trace as measured stays drawn, thin and light in its hue, where
// the floor's subtraction lowered it: above the corrected trace, near the floor.
TEST_F(Pnpplot, RenderedTraceAsMeasuredBesideTheFloorSubtracted) {
    if (!canRender()) GTEST_SKIP() << "needs rsvg-convert (librsvg2-bin) and pngtopnm (netpbm)";
    // Flicker FM down to a white floor at -150 dBc/Hz, the analyzer's floor 3 to 4 dB under it,
    // the levels scattered by half a dB as a sweep reads them.
    std::string csv;
    for (int i = 0; i <= 50; ++i) {
        const double x = i / 10.0, scatter = 0.5 * std::sin(7.0 * i);
        const double noise = 10 * std::log10(std::pow(10, (-90 - 30 * x) / 10) + 1e-15);
        const double floor = 10 * std::log10(std::pow(10, (-110 - 30 * x) / 10) + std::pow(10, -15.35));
        csv += std::to_string(std::pow(10, x)) + "," + std::to_string(noise + scatter) + "," +
               std::to_string(floor - scatter) + "\n";
    }
    test::writeFile("near.csv", csv);
    // Down each pixel column from 1 to 10 kHz, the runs of pixels in the hue (blue well above
    // red, unlike the grey grid): the trace and its floor, and with --subtract-floor the trace
    // as measured above them.
    auto columnsWithThreeLines = [](const Image& image) {
        int columns = 0;
        for (int x = plotArea.left + plotArea.width * 3 / 5 + 3; x < plotArea.left + plotArea.width * 4 / 5 - 3; ++x) {
            int runs = 0;
            bool inRun = false;
            for (int y = plotArea.top + 2; y < plotArea.top + plotArea.height - 2; ++y) {
                const std::array<int, 3> p = image.at(x, y);
                const bool hue = p[2] - p[0] > 30;
                runs += hue && !inRun;
                inRun = hue;
            }
            columns += runs >= 3;
        }
        return columns;
    };
    int columns[2] = {0, 0};
    for (bool subtract : {false, true}) {
        ASSERT_EQ(run(std::string(subtract ? "--subtract-floor " : "") + "--margin 0.1 -o near.svg near.csv").status,
                  0);
        columns[subtract] = columnsWithThreeLines(rendered("near.svg"));
    }
    EXPECT_LT(columns[0], 5);
    EXPECT_GT(columns[1], 50);  // of 122, the floor-limited points kept as measured
    EXPECT_NE(test::readFile("near.svg").find(">" + xmlText(asMeasuredCaption) + "</text>"), std::string::npos);
}

// The stability chart: each input's deviations in its hue, the first ADEV point's marker where
// its tau and sigma_y stand on the decades that hold every sigma_y, the first TDEV point's where
// its seconds stand on the right axis's decades.
TEST_F(Pnpplot, RenderedStabilityChart) {
    if (std::system("command -v rsvg-convert >/dev/null && command -v pngtopnm >/dev/null") != 0) {
        GTEST_SKIP() << "needs rsvg-convert (librsvg2-bin) and pngtopnm (netpbm)";
    }
    test::writeFile("osc1.csv", test::readFile(SAMPLE_EXPORT));
    test::writeFile("osc2.csv", "1,-110\n1000,-170\n1000000,-180\n");
    ASSERT_EQ(run("--adev --mdev --tdev --stability-chart s.svg -j s.json -o c.svg osc1.csv osc2.csv").status, 0);
    ASSERT_EQ(std::system("rsvg-convert s.svg -o s.png && pngtopnm s.png >s.ppm"), 0);
    Image image = readPpm(test::readFile("s.ppm"));
    EXPECT_GT(pixelsOf(image, lightTheme().palette[0].c_str()), 300);
    EXPECT_GT(pixelsOf(image, lightTheme().palette[1].c_str()), 300);
    // tau 10 us to 100 ms: decades -5 to -1; the values from TDEV's ~1e-14 s to ADEV's ~4e-8.
    if (!test::haveJsonParser()) GTEST_SKIP() << "needs python3 to parse JSON";
    ASSERT_EQ(image.width, 1080 + 60);  // the right axis's room
    const double tau = 1e-5;
    const int x = plotArea.left + static_cast<int>(std::lround((std::log10(tau) + 5) / 4 * plotArea.width));
    for (const char* kinds : {"('adev', 'mdev')", "('tdev',)"}) {
        // The deviations of the axis, one a line, the first trace's first first.
        std::istringstream values(
            test::queryJson("s.json", std::string("'\\n'.join(repr(p.get('sigma_y', p.get('sigma_x_s'))) for t in "
                                                  "d['traces'] for k in ") +
                                          kinds + " for p in t[k])")
                .value_or(""));
        double sigma = 0, low = INFINITY, high = 0;
        for (double value = 0; values >> value;) {
            if (sigma == 0) sigma = value;
            low = std::min(low, value), high = std::max(high, value);
        }
        const double bottom = std::floor(std::log10(low)), top = std::ceil(std::log10(high));
        const int y =
            plotArea.top + static_cast<int>(std::lround((top - std::log10(sigma)) / (top - bottom) * plotArea.height));
        EXPECT_EQ(image.at(x, y), rgbOf(lightTheme().palette[0].c_str())) << kinds << " " << x << "," << y;
    }
}

// Nine inputs with long names: the legend moves under the plot, nothing runs off the canvas's
// edges, and each of the palette's colours is in the swatches of its two columns.
TEST_F(Pnpplot, RenderedChartOfNineLongNamedInputs) {
    if (std::system("command -v rsvg-convert >/dev/null && command -v pngtopnm >/dev/null") != 0) {
        GTEST_SKIP() << "needs rsvg-convert (librsvg2-bin) and pngtopnm (netpbm)";
    }
    std::string names;
    for (int i = 1; i <= 9; ++i) {
        std::string name = "VCO_1G2_board_rev" + std::to_string(i) + "_85C_after_loop_filter_change.csv";
        test::writeFile(name, "1," + std::to_string(-80 - i) + ",-120\n1000,-150,-170\n1000000,-160,-175\n");
        names += " " + name;
    }
    ASSERT_EQ(run("-r 10:100k -o nine.svg" + names).status, 0);
    ASSERT_EQ(std::system("rsvg-convert nine.svg -o nine.png && pngtopnm nine.png >nine.ppm"), 0);
    Image image = readPpm(test::readFile("nine.ppm"));
    ASSERT_EQ(image.width, plotArea.left + plotArea.width + 40);
    EXPECT_GT(image.height, 600);
    const std::array<int, 3> white{255, 255, 255};
    for (int y = 0; y < image.height; ++y) {
        EXPECT_EQ(image.at(image.width - 1, y), white) << "right edge, row " << y;
        if (image.at(image.width - 1, y) != white) break;
    }
    for (int x = 0; x < image.width; ++x) {
        EXPECT_EQ(image.at(x, image.height - 1), white) << "bottom edge, column " << x;
        if (image.at(x, image.height - 1) != white) break;
    }
    for (const std::string& colour : lightTheme().palette) {
        int found = 0;
        for (int y = plotArea.top + plotArea.height + 45; y < image.height; ++y) {
            for (int column : {plotArea.left, plotArea.left + 340}) {
                for (int x = column; x < column + 30; ++x) found += image.at(x, y) == rgbOf(colour.c_str());
            }
        }
        EXPECT_GT(found, 20) << colour;
    }
}

// Standard output that cannot take the chart fails the run.
TEST_F(Pnpplot, FullStandardOutputIsAFailure) {
    test::writeFile("a.csv", "10,-100,-110\n100,-120,-130\n");
    std::string command = std::string("\"") + PNPPLOT_EXE + "\" -o - a.csv >/dev/full 2>err.txt";
    int raw = std::system(command.c_str());
    EXPECT_TRUE(WIFEXITED(raw) && WEXITSTATUS(raw) == 1) << raw;
    EXPECT_EQ(test::readFile("err.txt"), "pnpplot: standard output: could not be written\n");
}
#else
// The command prompt hands patterns over as typed; pnpplot expands them as csv2pnp does.
TEST_F(Pnpplot, ExpandsWildcardsInFileOperands) {
    std::filesystem::create_directories("in");
    for (const char* name : {"in/b.csv", "in/A.CSV", "in/c.txt"})
        test::writeFile(name, "10,-100,-110\n100,-120,-130\n");
    test::ToolRun drawn = run("-o chart.svg in\\*.csv");
    EXPECT_EQ(drawn.status, 0) << drawn.err;
    EXPECT_NE(drawn.out.find("\nA.CSV phase noise\n  source        in\\A.CSV\n"), std::string::npos) << drawn.out;
    EXPECT_NE(drawn.out.find("\nb.csv phase noise\n  source        in\\b.csv\n"), std::string::npos) << drawn.out;
}
#endif

}  // namespace
}  // namespace csv2pnp
