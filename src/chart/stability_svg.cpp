#include "chart/stability_svg.h"

#include "chart/svg_parts.h"
#include "text/xml_text.h"

namespace csv2pnp {

namespace {

std::string coordinate(double value) { return svgCoordinate(value); }
std::string number(int value) { return svgNumber(value); }

// A deviation's marker centred at x, y, filled in its colour.
std::string marker(DeviationMarker kind, double x, double y, const std::string& colour) {
    switch (kind) {
    case DeviationMarker::circle:
        return "<circle cx=\"" + coordinate(x) + "\" cy=\"" + coordinate(y) + "\" r=\"4\" fill=\"" + colour + "\"/>\n";
    case DeviationMarker::square:
        return "<rect x=\"" + coordinate(x - 3.5) + "\" y=\"" + coordinate(y - 3.5) +
               "\" width=\"7\" height=\"7\" fill=\"" + colour + "\"/>\n";
    case DeviationMarker::triangle:
        return "<path d=\"M" + coordinate(x) + "," + coordinate(y - 5) + "L" + coordinate(x + 4.5) + "," +
               coordinate(y + 3.5) + "L" + coordinate(x - 4.5) + "," + coordinate(y + 3.5) + "Z\" fill=\"" + colour +
               "\"/>\n";
    }
    return "";
}

// An axis at the plot's right edge: a tick a line, longer at the decades, their labels beside
// them and the title, turned to read from below.
std::string rightAxis(const StabilityLayout& layout, const DeviationAxis& axis) {
    const PlotArea& area = layout.area;
    const int edge = area.left + area.width;
    std::string svg = "<g class=\"right-axis\">\n";
    for (const GridLine& line : axis.grid) {
        const std::string y = coordinate(line.at);
        svg += "<line x1=\"" + number(edge) + "\" y1=\"" + y + "\" x2=\"" + number(edge + (line.minor ? 3 : 6)) +
               "\" y2=\"" + y + "\" stroke=\"" + layout.theme.frame + "\"/>\n";
        if (line.label.text.empty()) continue;
        svg += "<text x=\"" + number(edge + 8) + "\" y=\"" + y + "\" dominant-baseline=\"middle\">" +
               svgTickText(line.label) + "</text>\n";
    }
    svg += "<text class=\"axis-title\" transform=\"translate(" + coordinate(axis.titleX) + " " +
           number(area.top + area.height / 2) + ") rotate(90)\" text-anchor=\"middle\">" + xmlText(axis.title) +
           "</text>\n";
    return svg + "</g>\n";
}

}  // namespace

std::string stabilitySvg(const StabilityLayout& layout) {
    const PlotArea& area = layout.area;
    const ChartTheme& theme = layout.theme;
    std::string svg = svgOpening(layout.width, layout.height, theme, "stability") + "<text x=\"" +
                      number(area.left + area.width / 2) + "\" y=\"28\" text-anchor=\"middle\" font-size=\"16\">" +
                      xmlText(layout.title) + "</text>\n";
    if (layout.lines.empty()) return svg + "</svg>\n";
    svg += svgGrid(area, theme, layout.tauGrid, layout.left.grid);
    svg += "<rect x=\"" + number(area.left) + "\" y=\"" + number(area.top) + "\" width=\"" + number(area.width) +
           "\" height=\"" + number(area.height) + "\" fill=\"none\" stroke=\"" + theme.frame + "\"/>\n";
    svg += "<text x=\"" + number(area.left + area.width / 2) + "\" y=\"" + number(area.top + area.height + 42) +
           "\" text-anchor=\"middle\">Averaging time τ (s)</text>\n";
    svg += "<text class=\"axis-title\" transform=\"translate(" + coordinate(layout.left.titleX) + " " +
           number(area.top + area.height / 2) + ") rotate(-90)\" text-anchor=\"middle\">" + xmlText(layout.left.title) +
           "</text>\n";
    if (layout.right) svg += rightAxis(layout, *layout.right);
    for (std::size_t i = 0; i < layout.lines.size(); ++i) {
        const StabilityLine& line = layout.lines[i];
        svg += "<g class=\"deviation\" data-series=\"" + std::to_string(line.series) + "\">\n";
        if (line.vertices.size() > 1) {
            svg += "<polyline fill=\"none\" " + svgStroke(line.style) + " points=\"";
            for (const auto& [x, y] : line.vertices) svg += coordinate(x) + "," + coordinate(y) + " ";
            svg.back() = '"';
            svg += "/>\n";
        }
        for (const auto& [x, y] : line.vertices) svg += marker(layout.markers[i], x, y, line.style.colour);
        svg += "</g>\n";
    }
    for (std::size_t i = 0; i < layout.legend.size(); ++i) {
        const LegendEntry& entry = layout.legend[i];
        svg += "<g class=\"legend-entry\"><title>" + xmlText(entry.tooltip) + "</title>\n<line x1=\"" +
               number(entry.x) + "\" y1=\"" + number(entry.y) + "\" x2=\"" + number(entry.x + 30) + "\" y2=\"" +
               number(entry.y) + "\" " + svgStroke(entry.style) + "/>\n" +
               marker(layout.markers[i], entry.x + 15, entry.y, entry.style.colour) + "<text x=\"" +
               number(entry.x + 38) + "\" y=\"" + number(entry.y + 4) + "\">" + xmlText(entry.caption) +
               "</text></g>\n";
    }
    return svg + "</svg>\n";
}

}  // namespace csv2pnp
