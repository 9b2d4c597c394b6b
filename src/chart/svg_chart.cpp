#include "chart/svg_chart.h"

#include "chart/svg_parts.h"
#include "text/xml_text.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

std::string coordinate(double value) { return svgCoordinate(value); }
std::string number(int value) { return svgNumber(value); }

void drawPoints(std::string& svg, const ChartLayout& layout, const ChartSeries& series) {
    const std::vector<TracePoint>& vertices = series.vertices;
    if (vertices.size() == 1) {
        svg += "<circle cx=\"" + coordinate(chartX(layout, vertices[0].offset)) + "\" cy=\"" +
               coordinate(chartY(layout, vertices[0].level)) + "\" r=\"3\" fill=\"" + series.style.colour + "\"/>\n";
        return;
    }
    svg += "<polyline fill=\"none\" " + svgStroke(series.style) + " points=\"";
    for (const TracePoint& p : vertices) {
        svg += coordinate(chartX(layout, p.offset)) + "," + coordinate(chartY(layout, p.level)) + " ";
    }
    svg.back() = '"';
    svg += "/>\n";
}

// A cross of a mark at x, y, and a triangle pointing down: a level that is an upper bound.
std::string cross(double x, double y) {
    return "M" + coordinate(x - 4) + "," + coordinate(y - 4) + "L" + coordinate(x + 4) + "," + coordinate(y + 4) + "M" +
           coordinate(x - 4) + "," + coordinate(y + 4) + "L" + coordinate(x + 4) + "," + coordinate(y - 4);
}

std::string triangle(double x, double y) {
    return "M" + coordinate(x - 4) + "," + coordinate(y - 3) + "L" + coordinate(x + 4) + "," + coordinate(y - 3) + "L" +
           coordinate(x) + "," + coordinate(y + 4) + "Z";
}

void drawMarks(std::string& svg, const ChartLayout& layout, std::size_t line) {
    for (const ChartMark& mark : layout.spurMarks) {
        if (mark.line != line) continue;
        svg += "<circle cx=\"" + coordinate(chartX(layout, mark.offset)) + "\" cy=\"" +
               coordinate(chartY(layout, mark.level)) + "\" r=\"6\" fill=\"none\" stroke=\"" + mark.colour +
               "\" stroke-width=\"1.5\"/>\n";
    }
    for (const ChartMark& mark : layout.limitMarks) {
        if (mark.line != line) continue;
        svg += "<path d=\"" + triangle(chartX(layout, mark.offset), chartY(layout, mark.level)) +
               "\" fill=\"none\" stroke=\"" + mark.colour + "\" stroke-width=\"1.5\"/>\n";
    }
    for (const ChartMark& mark : layout.failMarks) {
        if (mark.line != line) continue;
        svg += "<path d=\"" + cross(chartX(layout, mark.offset), chartY(layout, mark.level)) + "\" stroke=\"" +
               mark.colour + "\" stroke-width=\"2\"/>\n";
    }
}

void drawLegendEntry(std::string& svg, const ChartLayout& layout, const LegendEntry& entry) {
    svg += entry.line ? "<g class=\"legend-entry\" data-trace=\"" + std::to_string(*entry.line) + "\">"
                      : std::string("<g class=\"legend-entry\">");
    svg += "<title>" + xmlText(entry.tooltip) + "</title>\n";
    // A clear area over the whole entry, so that a click anywhere on it reaches it.
    svg += "<rect x=\"" + number(entry.x - 4) + "\" y=\"" + number(entry.y - 11) + "\" width=\"" + number(entry.width) +
           "\" height=\"" + number(21 + 15 * static_cast<int>(entry.notes.size())) + "\" fill=\"" +
           layout.theme.background + "\" fill-opacity=\"0\"/>\n";
    const double middle = entry.x + 15.0;
    switch (entry.swatch) {
    case LegendSwatch::line:
        svg += "<line x1=\"" + number(entry.x) + "\" y1=\"" + number(entry.y) + "\" x2=\"" + number(entry.x + 30) +
               "\" y2=\"" + number(entry.y) + "\" " + svgStroke(entry.style) + "/>\n";
        break;
    case LegendSwatch::ring:
        svg += "<circle cx=\"" + coordinate(middle) + "\" cy=\"" + number(entry.y) + "\" r=\"6\" fill=\"none\" " +
               svgStroke(entry.style) + "/>\n";
        break;
    case LegendSwatch::cross:
        svg += "<path d=\"" + cross(middle, entry.y) + "\" " + svgStroke(entry.style) + "/>\n";
        break;
    case LegendSwatch::triangle:
        svg += "<path d=\"" + triangle(middle, entry.y) + "\" fill=\"none\" " + svgStroke(entry.style) + "/>\n";
        break;
    case LegendSwatch::shade:
        svg += "<rect x=\"" + number(entry.x) + "\" y=\"" + number(entry.y - 7) +
               "\" width=\"30\" height=\"14\" fill=\"" + entry.style.colour + "\" fill-opacity=\"" +
               withDecimals(entry.style.opacity, 2) + "\"/>\n";
        break;
    }
    svg += "<text x=\"" + number(entry.x + 38) + "\" y=\"" + number(entry.y + 4) + "\">" + xmlText(entry.caption) +
           "</text>\n";
    int y = entry.y + 4;
    for (const std::string& note : entry.notes) {
        y += 15;
        svg += "<text x=\"" + number(entry.x + 38) + "\" y=\"" + number(y) + "\" font-size=\"11\" fill=\"" +
               layout.theme.mutedText + "\">" + xmlText(note) + "</text>\n";
    }
    svg += "</g>\n";
}

}  // namespace

std::string svgChart(const ChartLayout& layout) {
    const PlotArea& area = layout.area;
    const ChartTheme& theme = layout.theme;
    std::string svg = svgOpening(layout.width, layout.height, theme) + "<text x=\"" +
                      number(area.left + area.width / 2) +
                      "\" y=\"28\" text-anchor=\"middle\" font-size=\"16\"><title>" + xmlText(layout.titleTooltip) +
                      "</title>" + xmlText(layout.title) + "</text>\n";
    if (layout.series.empty()) return svg + "</svg>\n";
    // With fixed scales a trace may reach past the plot: what is drawn there is cut to it.
    const std::string clip = layout.clipped ? " clip-path=\"url(#plot-clip)\"" : "";
    if (layout.clipped) {
        svg += "<clipPath id=\"plot-clip\"><rect x=\"" + number(area.left) + "\" y=\"" + number(area.top) +
               "\" width=\"" + number(area.width) + "\" height=\"" + number(area.height) + "\"/></clipPath>\n";
    }

    std::vector<const ShadedBand*> bands;
    if (layout.band) bands.push_back(&*layout.band);
    for (const ShadedBand& band : layout.moreBands) bands.push_back(&band);
    for (const ShadedBand* band : bands) {
        svg += "<rect class=\"band\" x=\"" + coordinate(band->left) + "\" y=\"" + number(area.top) + "\" width=\"" +
               coordinate(band->right - band->left) + "\" height=\"" + number(area.height) + "\" fill=\"" + band->fill +
               "\" fill-opacity=\"" + withDecimals(band->opacity, 2) + "\"/>\n";
    }
    for (const ShadedRange& shade : layout.marginShades) {
        svg += "<rect class=\"shade\" data-trace=\"" + std::to_string(shade.line) + "\" x=\"" + coordinate(shade.left) +
               "\" y=\"" + number(area.top) + "\" width=\"" + coordinate(shade.right - shade.left) + "\" height=\"" +
               number(area.height) + "\" fill=\"" + shade.colour + "\" fill-opacity=\"" +
               withDecimals(marginShadeOpacity, 2) + "\"/>\n";
    }
    svg += svgGrid(area, theme, layout.offsetGrid, layout.levelGrid);
    svg += "<rect id=\"plot-area\" x=\"" + number(area.left) + "\" y=\"" + number(area.top) + "\" width=\"" +
           number(area.width) + "\" height=\"" + number(area.height) + "\" fill=\"none\" stroke=\"" + theme.frame +
           "\"/>\n";
    svg += "<text x=\"" + number(area.left + area.width / 2) + "\" y=\"" + number(area.top + area.height + 42) +
           "\" text-anchor=\"middle\">Offset frequency (Hz)</text>\n";
    svg += "<text transform=\"translate(24 " + number(area.top + area.height / 2) +
           ") rotate(-90)\" text-anchor=\"middle\">" + xmlText(layout.levelLabel) + "</text>\n";
    for (std::size_t b = 0; b < bands.size(); ++b) {
        const ShadedBand* band = bands[b];
        svg += "<text class=\"band-label\" x=\"" + coordinate(band->labelX) + "\" y=\"" + number(band->labelY) +
               "\" text-anchor=\"middle\" font-size=\"11\" fill=\"" + theme.mutedText + "\">" +
               (band->keyed ? "<tspan fill=\"" + band->fill + "\">" + xmlText(bandKey) + "</tspan>" : "") +
               xmlText(band->label) + "</text>\n";
    }
    if (layout.zeroLine) {
        svg += "<g class=\"zero-line\"" + clip + ">\n";
        drawPoints(svg, layout, *layout.zeroLine);
        svg += "</g>\n";
    }
    // A trace as measured is one of the trace's drawings: hidden and shown with it.
    for (const ChartSeries& series : layout.measured) {
        svg += "<g class=\"trace measured\" data-trace=\"" + std::to_string(series.line) + "\"" + clip + ">\n";
        drawPoints(svg, layout, series);
        svg += "</g>\n";
    }
    for (const ChartSeries& series : layout.series) {
        svg += "<g class=\"trace\" data-trace=\"" + std::to_string(series.line) + "\"" + clip + ">\n";
        drawPoints(svg, layout, series);
        drawMarks(svg, layout, series.line);
        svg += "</g>\n";
    }
    for (const FitDrawing& fit : layout.fits) {
        svg += "<g class=\"fit\" data-trace=\"" + std::to_string(fit.line) + "\"" + clip + ">\n";
        for (const std::vector<TracePoint>& line : fit.lines) {
            drawPoints(svg, layout, ChartSeries{fit.line, line, fit.style});
        }
        for (std::size_t c = 0; c < fit.corners.size(); ++c) {
            const double x = chartX(layout, fit.corners[c].offset), y = chartY(layout, fit.corners[c].level);
            const PixelPoint& label = fit.labelAt[c];
            svg += "<circle cx=\"" + coordinate(x) + "\" cy=\"" + coordinate(y) + "\" r=\"2.5\" fill=\"" +
                   fit.style.colour + "\"/>\n<text x=\"" + coordinate(label.x) + "\" y=\"" + coordinate(label.y) +
                   "\" text-anchor=\"middle\" font-size=\"10\" fill=\"" + fit.style.colour + "\">" +
                   xmlText(fit.labels[c]) + "</text>\n";
        }
        svg += "</g>\n";
    }
    if (layout.mask) {
        svg += "<g class=\"mask\"" + clip + ">\n";
        drawPoints(svg, layout, *layout.mask);
        svg += "</g>\n";
    }
    for (const LegendNote& note : layout.sharedNotes) {
        svg += "<text class=\"legend-note\" x=\"" + number(note.x) + "\" y=\"" + number(note.y) +
               "\" font-size=\"11\" fill=\"" + theme.mutedText + "\">" + xmlText(note.text) + "</text>\n";
    }
    for (const LegendEntry& entry : layout.legend) drawLegendEntry(svg, layout, entry);
    return svg + "</svg>\n";
}

}  // namespace csv2pnp
