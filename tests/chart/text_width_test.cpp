#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "chart/text_width.h"
#include "rendered_image.h"
#include "scratch_dir.h"

namespace csv2pnp {
namespace {

class TextWidth : public test::ScratchDir {};

// The estimate against what the renderer draws: each text alone on a row, its ink never wider
// than the estimate and not far narrower (DejaVu Sans, the font rsvg-convert takes here).
TEST_F(TextWidth, ErrsWideButNotFar) {
    EXPECT_EQ(textWidth("", 12), 0);
    EXPECT_DOUBLE_EQ(textWidth("1 MHz", 10), (0.65 + 0.42 + 1 + 0.8 + 0.65) * 10);
    if (!test::canRender()) GTEST_SKIP() << "needs rsvg-convert (librsvg2-bin) and pngtopnm (netpbm)";
    const std::vector<std::pair<std::string, double>> texts{
        {"100 \xc2\xb5Hz", 12},
        {"100 GHz", 12},
        {"10 ms", 12},
        {"-180", 12},
        {"56.2 kHz", 10},
        {"osc1.csv phase noise", 12},
        {"MWm%", 12},
        {"\xe2\x88\x92"
         "15",
         9},
        {"integrated 10 Hz to 100 kHz", 11},
        {"999.99 THz", 12},
        {"1.0 fs", 12},
        {"VCO_1G2_board_rev3\xe2\x80\xa6", 12},
    };
    std::string svg = "<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"400\" height=\"" +
                      std::to_string(30 * texts.size()) +
                      "\"><rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n";
    for (std::size_t i = 0; i < texts.size(); ++i) {
        svg += "<text x=\"10\" y=\"" + std::to_string(30 * i + 20) + "\" font-family=\"sans-serif\" font-size=\"" +
               std::to_string(texts[i].second) + "\">" + texts[i].first + "</text>\n";
    }
    test::writeFile("texts.svg", svg + "</svg>\n");
    const test::Image image = test::rendered("texts.svg");
    ASSERT_EQ(image.width, 400);
    for (std::size_t i = 0; i < texts.size(); ++i) {
        int left = image.width, right = -1;
        for (int y = static_cast<int>(30 * i); y < static_cast<int>(30 * i + 30); ++y) {
            for (int x = 0; x < image.width; ++x) {
                const std::array<int, 3> p = image.at(x, y);
                if (p[0] + p[1] + p[2] < 3 * 200) left = std::min(left, x), right = std::max(right, x);
            }
        }
        const double ink = right - left + 1, estimate = textWidth(texts[i].first, texts[i].second);
        EXPECT_LE(ink, estimate) << texts[i].first;
        EXPECT_GE(ink, 0.8 * estimate) << texts[i].first;
    }
}

}  // namespace
}  // namespace csv2pnp
