#include "chart/svg_parts.h"

#include <charconv>

#include "chart/decade_grid.h"
#include "text/xml_text.h"
#include "units/si_units.h"

namespace csv2pnp {

std::string svgCoordinate(double value) { return withDecimals(value, 1); }
std::string svgNumber(int value) { return std::to_string(value); }

std::string svgStroke(const LineStyle& style) {
    char width[32];
    std::string stroke = "stroke=\"" + style.colour + "\" stroke-width=\"" +
                         std::string(width, std::to_chars(width, width + sizeof width, style.width).ptr) + "\"";
    if (!style.dashes.empty()) stroke += " stroke-dasharray=\"" + style.dashes + "\"";
    if (style.opacity < 1) stroke += " stroke-opacity=\"" + withDecimals(style.opacity, 2) + "\"";
    return stroke;
}

std::string svgOpening(int width, int height, const ChartTheme& theme, const std::string& cssClass) {
    return "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\"" +
           (cssClass.empty() ? "" : " class=\"" + cssClass + "\"") + " width=\"" + svgNumber(width) + "\" height=\"" +
           svgNumber(height) + "\" viewBox=\"0 0 " + svgNumber(width) + " " + svgNumber(height) +
           "\" font-family=\"sans-serif\" font-size=\"12\" fill=\"" + theme.text +
           "\">\n<rect width=\"100%\" height=\"100%\" fill=\"" + theme.background + "\"/>\n";
}

std::string svgTickText(const TickText& label) {
    std::string text = xmlText(label.text);
    if (label.superscript.empty()) return text + xmlText(label.after);
    text += "<tspan dy=\"-5\" font-size=\"" + svgNumber(static_cast<int>(superscriptFontSize)) + "\">" +
            xmlText(label.superscript) + "</tspan>";
    if (!label.after.empty()) text += "<tspan dy=\"5\">" + xmlText(label.after) + "</tspan>";
    return text;
}

std::string svgGrid(const PlotArea& area, const ChartTheme& theme, const std::vector<GridLine>& vertical,
                    const std::vector<GridLine>& horizontal) {
    std::string svg = "<g class=\"grid\">\n";
    for (const GridLine& line : vertical) {
        const std::string x = svgCoordinate(line.at);
        svg += "<line x1=\"" + x + "\" y1=\"" + svgNumber(area.top) + "\" x2=\"" + x + "\" y2=\"" +
               svgNumber(area.top + area.height) + "\" stroke=\"" + (line.minor ? theme.gridMinor : theme.gridMajor) +
               "\"/>\n";
        if (line.label.text.empty()) continue;
        svg += "<text x=\"" + x + "\" y=\"" + svgNumber(area.top + area.height + 18) + "\" text-anchor=\"middle\">" +
               svgTickText(line.label) + "</text>\n";
    }
    for (const GridLine& line : horizontal) {
        const std::string y = svgCoordinate(line.at);
        svg += "<line x1=\"" + svgNumber(area.left) + "\" y1=\"" + y + "\" x2=\"" + svgNumber(area.left + area.width) +
               "\" y2=\"" + y + "\" stroke=\"" + (line.minor ? theme.gridMinor : theme.gridMajor) + "\"/>\n";
        if (line.label.text.empty()) continue;
        svg += "<text x=\"" + svgNumber(area.left - 8) + "\" y=\"" + y +
               "\" text-anchor=\"end\" dominant-baseline=\"middle\">" + svgTickText(line.label) + "</text>\n";
    }
    return svg + "</g>\n";
}

}  // namespace csv2pnp
