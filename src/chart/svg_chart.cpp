#include "chart/svg_chart.h"

#include "text/xml_text.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

std::string coordinate(double value) { return withDecimals(value, 1); }

std::string strokeOf(const LineStyle& style) {
    return "stroke=\"" + style.colour + "\" stroke-width=\"" + withDecimals(style.width, 0) + "\"" +
           (style.dashes.empty() ? "" : " stroke-dasharray=\"" + style.dashes + "\"");
}

void drawGrid(std::string& svg, const ChartLayout& layout) {
    const PlotArea& area = layout.area;
    for (const GridLine& line : layout.offsetGrid) {
        std::string x = coordinate(line.at);
        svg += "<line x1=\"" + x + "\" y1=\"" + std::to_string(area.top) + "\" x2=\"" + x + "\" y2=\"" +
               std::to_string(area.top + area.height) + "\" stroke=\"" + (line.minor ? "#e4e4e4" : "#b0b0b0") + "\"/>\n";
        if (line.label.empty()) continue;
        svg += "<text x=\"" + x + "\" y=\"" + std::to_string(area.top + area.height + 18) + "\" text-anchor=\"middle\">" +
               line.label + "</text>\n";
    }
    for (const GridLine& line : layout.levelGrid) {
        std::string y = coordinate(line.at);
        svg += "<line x1=\"" + std::to_string(area.left) + "\" y1=\"" + y + "\" x2=\"" +
               std::to_string(area.left + area.width) + "\" y2=\"" + y + "\" stroke=\"#b0b0b0\"/>\n";
        svg += "<text x=\"" + std::to_string(area.left - 8) + "\" y=\"" + y +
               "\" text-anchor=\"end\" dominant-baseline=\"middle\">" + line.label + "</text>\n";
    }
}

void drawSeries(std::string& svg, const ChartLayout& layout, const ChartSeries& series) {
    const std::vector<TracePoint>& vertices = series.vertices;
    if (vertices.size() == 1) {
        svg += "<circle cx=\"" + coordinate(chartX(layout, vertices[0].offset)) + "\" cy=\"" +
               coordinate(chartY(layout, vertices[0].level)) + "\" r=\"3\" fill=\"" + series.style.colour + "\"/>\n";
        return;
    }
    svg += "<polyline fill=\"none\" " + strokeOf(series.style) + " points=\"";
    for (const TracePoint& p : vertices) {
        svg += coordinate(chartX(layout, p.offset)) + "," + coordinate(chartY(layout, p.level)) + " ";
    }
    svg.back() = '"';
    svg += "/>\n";
}

void drawMarks(std::string& svg, const ChartLayout& layout) {
    for (const ChartMark& mark : layout.spurMarks) {
        svg += "<circle cx=\"" + coordinate(chartX(layout, mark.offset)) + "\" cy=\"" +
               coordinate(chartY(layout, mark.level)) + "\" r=\"6\" fill=\"none\" stroke=\"" + mark.colour +
               "\" stroke-width=\"1.5\"/>\n";
    }
    for (const ChartMark& mark : layout.failMarks) {
        double x = chartX(layout, mark.offset), y = chartY(layout, mark.level);
        svg += "<path d=\"M" + coordinate(x - 4) + "," + coordinate(y - 4) + "L" + coordinate(x + 4) + "," +
               coordinate(y + 4) + "M" + coordinate(x - 4) + "," + coordinate(y + 4) + "L" + coordinate(x + 4) + "," +
               coordinate(y - 4) + "\" stroke=\"" + mark.colour + "\" stroke-width=\"2\"/>\n";
    }
}

void drawLegendEntry(std::string& svg, const LegendEntry& entry) {
    svg += "<line x1=\"" + std::to_string(entry.x) + "\" y1=\"" + std::to_string(entry.y) + "\" x2=\"" +
           std::to_string(entry.x + 30) + "\" y2=\"" + std::to_string(entry.y) + "\" " + strokeOf(entry.style) + "/>\n";
    svg += "<text x=\"" + std::to_string(entry.x + 38) + "\" y=\"" + std::to_string(entry.y + 4) + "\">" +
           xmlText(entry.caption) + "</text>\n";
    if (entry.note.empty()) return;
    svg += "<text x=\"" + std::to_string(entry.x + 38) + "\" y=\"" + std::to_string(entry.y + 20) +
           "\" font-size=\"11\" fill=\"#555555\">" + xmlText(entry.note) + "</text>\n";
}

}  // namespace

std::string svgChart(const ChartLayout& layout) {
    const PlotArea& area = layout.area;
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + std::to_string(layout.width) +
        "\" height=\"" + std::to_string(layout.height) + "\" viewBox=\"0 0 " + std::to_string(layout.width) + " " +
        std::to_string(layout.height) + "\" font-family=\"sans-serif\" font-size=\"12\">\n"
        "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n"
        "<text x=\"" + std::to_string(area.left + area.width / 2) +
        "\" y=\"28\" text-anchor=\"middle\" font-size=\"16\">" + xmlText(layout.title) + "</text>\n";
    if (layout.series.empty()) return svg + "</svg>\n";

    if (layout.band) {
        svg += "<rect x=\"" + coordinate(layout.band->left) + "\" y=\"" + std::to_string(area.top) + "\" width=\"" +
               coordinate(layout.band->right - layout.band->left) + "\" height=\"" + std::to_string(area.height) +
               "\" fill=\"#000000\" fill-opacity=\"0.07\"/>\n";
    }
    for (const ShadedRange& shade : layout.marginShades) {
        svg += "<rect x=\"" + coordinate(shade.left) + "\" y=\"" + std::to_string(area.top) + "\" width=\"" +
               coordinate(shade.right - shade.left) + "\" height=\"" + std::to_string(area.height) + "\" fill=\"" +
               shade.colour + "\" fill-opacity=\"0.12\"/>\n";
    }
    drawGrid(svg, layout);
    svg += "<rect x=\"" + std::to_string(area.left) + "\" y=\"" + std::to_string(area.top) + "\" width=\"" +
           std::to_string(area.width) + "\" height=\"" + std::to_string(area.height) +
           "\" fill=\"none\" stroke=\"#404040\"/>\n";
    svg += "<text x=\"" + std::to_string(area.left + area.width / 2) + "\" y=\"" +
           std::to_string(area.top + area.height + 42) + "\" text-anchor=\"middle\">Offset frequency (Hz)</text>\n";
    svg += "<text transform=\"translate(24 " + std::to_string(area.top + area.height / 2) +
           ") rotate(-90)\" text-anchor=\"middle\">L(f) (dBc/Hz)</text>\n";
    for (std::size_t i = 0; i < layout.series.size(); ++i) {
        drawSeries(svg, layout, layout.series[i]);
        drawLegendEntry(svg, layout.legend[i]);
    }
    if (layout.mask) {
        drawSeries(svg, layout, *layout.mask);
        drawLegendEntry(svg, layout.legend.back());
    }
    drawMarks(svg, layout);
    return svg + "</svg>\n";
}

}  // namespace csv2pnp
