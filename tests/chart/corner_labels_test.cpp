#include <vector>

#include <gtest/gtest.h>

#include "chart/corner_labels.h"

namespace csv2pnp {
namespace {

const PixelBox area{80, 50, 720, 530};

bool overlap(const PixelBox& a, const PixelBox& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

TEST(CornerLabels, LinesThroughABox) {
    const PixelBox box{100, 100, 140, 112};
    const std::pair<std::vector<PixelPoint>, bool> lines[] = {
        {{{80, 106}, {200, 106}}, true},              // straight across
        {{{80, 90}, {200, 95}}, false},               // above it
        {{{80, 200}, {120, 105}, {200, 200}}, true},  // a peak reaching in
        {{{80, 130}, {99, 20}, {150, 20}}, false},    // steeply up before it, then above it
        {{{141, 106}, {300, 106}}, false},            // starting right of it
        {{{120, 106}}, true},                         // one point, in it
    };
    for (const auto& [line, crossing] : lines) EXPECT_EQ(crosses(line, box), crossing) << line[0].y;
}

// Two corners closer than a label's width: their labels stack above them, each centred on its
// corner; a trace just above the corners keeps them off its line, still stacked, and one through
// every row above sends them under the corners.
TEST(CornerLabels, CloseCornersStack) {
    const std::vector<PixelPoint> corners{{300, 300}, {315, 310}};
    const std::vector<double> widths{36, 36};
    std::vector<PixelPoint> placed = placeCornerLabels(corners, widths, area, {});
    ASSERT_EQ(placed.size(), 2u);
    EXPECT_EQ(placed[0].x, 300);
    EXPECT_EQ(placed[0].y, 293);
    EXPECT_EQ(placed[1].x, 315);
    EXPECT_EQ(placed[1].y, 310 - 7 - 2 * 12);  // two rows up: clear of the first
    EXPECT_FALSE(overlap(cornerLabelBox(placed[0], 36), cornerLabelBox(placed[1], 36)));

    LabelObstacles obstacles;
    obstacles.traces.push_back({{80, 290}, {720, 290}});
    placed = placeCornerLabels(corners, widths, area, obstacles);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_LT(placed[i].y, corners[i].y) << i;
        EXPECT_FALSE(crosses(obstacles.traces[0], cornerLabelBox(placed[i], widths[i]))) << i;
    }
    EXPECT_NE(placed[0].y, placed[1].y);
    EXPECT_FALSE(overlap(cornerLabelBox(placed[0], 36), cornerLabelBox(placed[1], 36)));
    // A zigzag over the whole width above the corners: every row above lies on it.
    obstacles.traces[0].clear();
    for (int x = 80; x <= 720; x += 4) obstacles.traces[0].push_back({double(x), x % 8 ? 50.0 : 296.0});
    placed = placeCornerLabels(corners, widths, area, obstacles);
    for (std::size_t i = 0; i < 2; ++i) {
        EXPECT_GT(placed[i].y, corners[i].y) << i;
        EXPECT_FALSE(crosses(obstacles.traces[0], cornerLabelBox(placed[i], widths[i]))) << i;
    }
    EXPECT_FALSE(overlap(cornerLabelBox(placed[0], 36), cornerLabelBox(placed[1], 36)));
}

// A corner at the plot's edge keeps its label inside the plot; a label never covers a box.
TEST(CornerLabels, WithinThePlotAndClearOfBoxes) {
    LabelObstacles obstacles;
    obstacles.boxes.push_back({680, 40, 720, 100});
    const std::vector<PixelPoint> placed = placeCornerLabels({{715, 60}}, {50}, area, obstacles);
    const PixelBox box = cornerLabelBox(placed[0], 50);
    EXPECT_LE(box.right, area.right);
    EXPECT_GE(box.top, area.top);
    EXPECT_FALSE(overlap(box, obstacles.boxes[0]));
}

}  // namespace
}  // namespace csv2pnp
