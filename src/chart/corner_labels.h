// Where the labels of a fit's corners stand: clear of each other, of the lines drawn and of
// the texts already placed.
#pragma once

#include <vector>

namespace csv2pnp {

struct PixelPoint {
    double x, y;
};

struct PixelBox {
    double left, top, right, bottom;
};

// What a label keeps clear of: the traces' lines first, then the fitted lines, in pixels, each
// in order of x; and boxes already taken (other texts, the corners' dots).
struct LabelObstacles {
    std::vector<std::vector<PixelPoint>> traces;
    std::vector<std::vector<PixelPoint>> fitted;
    std::vector<PixelBox> boxes;
};

// The labels' font size and the height their box takes around the baseline.
inline constexpr double cornerLabelSize = 10, cornerLabelAscent = 9, cornerLabelDescent = 3;

// The box of a label of that width centred on x with its baseline at y.
PixelBox cornerLabelBox(PixelPoint baseline, double width);

// Each corner's label (its width given) as the centre of its baseline, placed in turn from the
// leftmost corner, within the area: 7 pixels above its corner where that is clear, else the
// nearest clear place of a row higher, a row under the corner (after three rows up) or beside
// it (after four). No label overlaps another or a box; none lies on a trace's line where any
// place is clear of them; one clear of the fitted lines too is taken when at most a row
// further. Labels of corners closer than a label's width thus stack one above the other.
std::vector<PixelPoint> placeCornerLabels(const std::vector<PixelPoint>& corners, const std::vector<double>& widths,
                                          const PixelBox& area, LabelObstacles obstacles);

// Whether the line, straight between its points, passes through the box.
bool crosses(const std::vector<PixelPoint>& line, const PixelBox& box);

}  // namespace csv2pnp
