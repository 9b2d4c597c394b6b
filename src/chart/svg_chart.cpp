#include "chart/svg_chart.h"

#include <algorithm>
#include <cmath>

#include "chart/axes.h"
#include "chart/decimate.h"
#include "chart/xml_text.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

constexpr int chartWidth = 1000;
constexpr int chartHeight = 600;
constexpr int legendLeft = plotArea.left + plotArea.width + 20;
// Levels beyond these are drawn at them: no real trace comes near, and the axis stays finite.
constexpr double levelLimit = 1e12;

double drawnLevel(double level) { return std::clamp(level, -levelLimit, levelLimit); }

std::string coordinate(double value) { return withDecimals(value, 1); }

struct Scales {
    OffsetAxis offsets;
    LevelAxis levels;

    double x(double offset) const { return plotArea.left + offsetPosition(offsets, offset) * plotArea.width; }
    double y(double level) const {
        return plotArea.top + (levels.top - drawnLevel(level)) / (levels.top - levels.bottom) * plotArea.height;
    }
};

Scales scalesFor(const std::vector<ChartLine>& lines) {
    double lowOffset = INFINITY, highOffset = -INFINITY, lowLevel = INFINITY, highLevel = -INFINITY;
    for (const ChartLine& line : lines) {
        const std::vector<TracePoint>& points = line.trace->points;
        lowOffset = std::min(lowOffset, points.front().offset);
        highOffset = std::max(highOffset, points.back().offset);
        for (const TracePoint& p : points) {
            lowLevel = std::min(lowLevel, drawnLevel(p.level));
            highLevel = std::max(highLevel, drawnLevel(p.level));
        }
    }
    return Scales{offsetAxisFor(lowOffset, highOffset), levelAxisFor(lowLevel, highLevel)};
}

std::string decadeLabel(int decade) {
    if (decade >= -3 && decade <= 12) return withPrefix(powerOfTen(decade), "Hz");
    return "1e" + std::to_string(decade) + " Hz";
}

std::string verticalLine(double x, const char* colour) {
    return "<line x1=\"" + coordinate(x) + "\" y1=\"" + std::to_string(plotArea.top) + "\" x2=\"" + coordinate(x) +
           "\" y2=\"" + std::to_string(plotArea.top + plotArea.height) + "\" stroke=\"" + colour + "\"/>\n";
}

void drawGrid(std::string& svg, const Scales& scales) {
    const OffsetAxis& axis = scales.offsets;
    int decades = axis.last - axis.first;
    // Minor lines and every label only while the decades leave room for them.
    int labelEvery = std::max(1, decades / 12);
    for (int d = axis.first; d <= axis.last; ++d) {
        double x = plotArea.left + static_cast<double>(d - axis.first) / decades * plotArea.width;
        svg += verticalLine(x, "#b0b0b0");
        if ((d - axis.first) % labelEvery == 0) {
            svg += "<text x=\"" + coordinate(x) + "\" y=\"" + std::to_string(plotArea.top + plotArea.height + 18) +
                   "\" text-anchor=\"middle\">" + decadeLabel(d) + "</text>\n";
        }
        if (d == axis.last || decades > 12) continue;
        for (int m = 2; m <= 9; ++m) {
            double minor = x + std::log10(m) / decades * plotArea.width;
            svg += verticalLine(minor, "#e4e4e4");
        }
    }
    const LevelAxis& levels = scales.levels;
    auto steps = static_cast<int>(std::lround((levels.top - levels.bottom) / levels.step));
    for (int i = 0; i <= steps; ++i) {
        double level = levels.bottom + i * levels.step;
        std::string y = coordinate(scales.y(level));
        svg += "<line x1=\"" + std::to_string(plotArea.left) + "\" y1=\"" + y + "\" x2=\"" +
               std::to_string(plotArea.left + plotArea.width) + "\" y2=\"" + y + "\" stroke=\"#b0b0b0\"/>\n";
        svg += "<text x=\"" + std::to_string(plotArea.left - 8) + "\" y=\"" + y +
               "\" text-anchor=\"end\" dominant-baseline=\"middle\">" + withDecimals(level, 0) + "</text>\n";
    }
}

void drawTrace(std::string& svg, const ChartLine& line, const char* colour, const Scales& scales) {
    std::vector<TracePoint> vertices = decimate(line.trace->points, scales.offsets, plotArea.width);
    std::string style = std::string("fill=\"none\" stroke=\"") + colour + "\" stroke-width=\"2\"" +
                        (line.trace->floor ? " stroke-dasharray=\"7 4\"" : "");
    if (vertices.size() == 1) {
        svg += "<circle cx=\"" + coordinate(scales.x(vertices[0].offset)) + "\" cy=\"" +
               coordinate(scales.y(vertices[0].level)) + "\" r=\"3\" fill=\"" + colour + "\"/>\n";
        return;
    }
    svg += "<polyline " + style + " points=\"";
    for (const TracePoint& p : vertices) svg += coordinate(scales.x(p.offset)) + "," + coordinate(scales.y(p.level)) + " ";
    svg.back() = '"';
    svg += "/>\n";
}

void drawLegendEntry(std::string& svg, const ChartLine& line, const char* colour, int row) {
    int y = plotArea.top + 10 + row * 40;
    svg += "<line x1=\"" + std::to_string(legendLeft) + "\" y1=\"" + std::to_string(y) + "\" x2=\"" +
           std::to_string(legendLeft + 30) + "\" y2=\"" + std::to_string(y) + "\" stroke=\"" + colour +
           "\" stroke-width=\"2\"" + (line.trace->floor ? " stroke-dasharray=\"7 4\"" : "") + "/>\n";
    svg += "<text x=\"" + std::to_string(legendLeft + 38) + "\" y=\"" + std::to_string(y + 4) + "\">" +
           xmlText(line.trace->caption) + "</text>\n";
    svg += "<text x=\"" + std::to_string(legendLeft + 38) + "\" y=\"" + std::to_string(y + 20) +
           "\" font-size=\"11\" fill=\"#555555\">carrier " + withPrefix(line.carrier, "Hz") + "</text>\n";
}

}  // namespace

std::string svgChart(const std::vector<ChartLine>& lines, const std::string& title, std::optional<OffsetBand> band) {
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" + std::to_string(chartWidth) +
        "\" height=\"" + std::to_string(chartHeight) + "\" viewBox=\"0 0 " + std::to_string(chartWidth) + " " +
        std::to_string(chartHeight) + "\" font-family=\"sans-serif\" font-size=\"12\">\n"
        "<rect width=\"100%\" height=\"100%\" fill=\"#ffffff\"/>\n"
        "<text x=\"" + std::to_string(plotArea.left + plotArea.width / 2) +
        "\" y=\"28\" text-anchor=\"middle\" font-size=\"16\">" + xmlText(title) + "</text>\n";
    if (lines.empty()) return svg + "</svg>\n";

    Scales scales = scalesFor(lines);
    if (band) {
        double from = std::clamp(scales.x(band->from), double(plotArea.left), double(plotArea.left + plotArea.width));
        double to = std::clamp(scales.x(band->to), double(plotArea.left), double(plotArea.left + plotArea.width));
        svg += "<rect x=\"" + coordinate(from) + "\" y=\"" + std::to_string(plotArea.top) + "\" width=\"" +
               coordinate(to - from) + "\" height=\"" + std::to_string(plotArea.height) +
               "\" fill=\"#000000\" fill-opacity=\"0.07\"/>\n";
    }
    drawGrid(svg, scales);
    svg += "<rect x=\"" + std::to_string(plotArea.left) + "\" y=\"" + std::to_string(plotArea.top) + "\" width=\"" +
           std::to_string(plotArea.width) + "\" height=\"" + std::to_string(plotArea.height) +
           "\" fill=\"none\" stroke=\"#404040\"/>\n";
    svg += "<text x=\"" + std::to_string(plotArea.left + plotArea.width / 2) + "\" y=\"" +
           std::to_string(plotArea.top + plotArea.height + 42) + "\" text-anchor=\"middle\">Offset frequency (Hz)</text>\n";
    svg += "<text transform=\"translate(24 " + std::to_string(plotArea.top + plotArea.height / 2) +
           ") rotate(-90)\" text-anchor=\"middle\">L(f) (dBc/Hz)</text>\n";

    std::vector<std::string> groups;
    for (std::size_t i = 0; i < lines.size(); ++i) {
        const Trace& trace = *lines[i].trace;
        auto group = std::find(groups.begin(), groups.end(), trace.group);
        if (group == groups.end()) group = groups.insert(groups.end(), trace.group);
        const char* colour = palette[static_cast<std::size_t>(group - groups.begin()) % std::size(palette)];
        drawTrace(svg, lines[i], colour, scales);
        drawLegendEntry(svg, lines[i], colour, static_cast<int>(i));
    }
    return svg + "</svg>\n";
}

}  // namespace csv2pnp
