// What the SVG writers of the charts share: the opening of the document and the grid.
#pragma once

#include <string>
#include <vector>

#include "chart/chart_layout.h"

namespace csv2pnp {

// A coordinate with one decimal, as every chart writes them; a whole number of pixels.
std::string svgCoordinate(double value);
std::string svgNumber(int value);

// The stroke attributes of a line's style: colour, width, dashes and opacity where they apply.
std::string svgStroke(const LineStyle& style);

// The XML declaration, the svg element (with a class when given) and the background.
std::string svgOpening(int width, int height, const ChartTheme& theme, const std::string& cssClass = "");

// A label's text, its exponent raised: "10<tspan dy=...>−7</tspan>"; texts escaped.
std::string svgTickText(const TickText& label);

// The grid over the plot: the vertical lines with their labels under the plot, the horizontal
// ones with theirs left of it, minor lines lighter; a line without a label has none.
std::string svgGrid(const PlotArea& area, const ChartTheme& theme, const std::vector<GridLine>& vertical,
                    const std::vector<GridLine>& horizontal);

}  // namespace csv2pnp
