// Feeds arbitrary bytes to pnpplot's reader and chart, with every layer the chart draws, and
// checks that the SVG is well-formed every time: tags nest, attribute values are quoted,
// text holds no markup, and every byte is valid UTF-8 that XML allows.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>
#include <vector>

#include "chart/chart_layout.h"
#include "chart/svg_chart.h"
#include "analysis/trace_analysis.h"
#include "report/html_report.h"
#include "text_checks.h"
#include "analysis_checks.h"
#include "traces/trace_reader.h"

namespace {

using fuzzing::require;

bool isNameChar(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' || c == ':' ||
           c == '_';
}

// A small well-formedness check for the markup the chart writes.
void checkSvg(const std::string& svg) {
    // Valid UTF-8 that XML allows throughout.
    require(fuzzing::validText(svg, true));
    std::vector<std::string> open;
    std::size_t at = svg.find("?>");
    require(svg.rfind("<?xml ", 0) == 0 && at != std::string::npos);
    for (at += 2; at < svg.size();) {
        if (svg[at] != '<') {
            require(svg[at] != '>');
            if (svg[at] == '&') {
                std::size_t end = svg.find(';', at);
                require(end != std::string::npos && end - at <= 6);
            }
            ++at;
            continue;
        }
        bool closing = svg[at + 1] == '/';
        std::size_t nameStart = at + (closing ? 2 : 1), nameEnd = nameStart;
        while (nameEnd < svg.size() && isNameChar(svg[nameEnd])) ++nameEnd;
        require(nameEnd > nameStart);
        std::string name = svg.substr(nameStart, nameEnd - nameStart);
        std::size_t p = nameEnd;
        while (p < svg.size() && svg[p] != '>') {
            if (svg[p] == '"') {
                std::size_t close = svg.find('"', p + 1);
                require(close != std::string::npos);
                require(svg.find('<', p + 1) > close);
                p = close + 1;
            } else {
                require(svg[p] != '<');
                ++p;
            }
        }
        require(p < svg.size());
        bool selfClosing = svg[p - 1] == '/';
        if (closing) {
            require(!open.empty() && open.back() == name);
            open.pop_back();
        } else if (!selfClosing) {
            open.push_back(name);
        }
        at = p + 1;
    }
    require(open.empty());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<csv2pnp::Trace> read = fuzzing::boundedTraces(bytes);
    csv2pnp::ChartInput chart;
    for (const csv2pnp::Trace& trace : read) {
        require(!trace.points.empty());
        for (std::size_t i = 1; i < trace.points.size(); ++i)
            require(trace.points[i - 1].offset <= trace.points[i].offset);
        chart.lines.push_back({trace.caption,
                               trace.group,
                               trace.floor,
                               &trace.points,
                               {"carrier", trace.source},
                               {{1, 10}, {100, 100}},
                               {trace.points.front()},
                               {trace.points.back()}});
    }
    chart.title = bytes.substr(0, 64);
    chart.band = csv2pnp::OffsetBand{10, 1e5};
    chart.mask = {{10, -100}, {1e3, -120}, {1e3, -130}, {1e5, -150}};
    chart.dark = size % 2 == 1;
    // Every third input on fixed scales and a small canvas, with the first line's fitted terms.
    if (size % 3 == 1) {
        chart.offsetRange = csv2pnp::OffsetBand{1, 1e4};
        chart.levelRange = std::pair{-150.0, -50.0};
        chart.size = std::pair{700, 300};
        if (!chart.lines.empty()) {
            chart.lines.front().fit =
                csv2pnp::ChartFit{{{{1, -90}, {1e6, -270}}, {{1, -160}, {1e6, -160}}}, {{56, -142}}, {"56 Hz"}};
        }
    }
    csv2pnp::ChartLayout layout = csv2pnp::layoutChart(chart);
    std::string svg = csv2pnp::svgChart(layout);
    checkSvg(svg);
    // The report embeds the chart and the page's data; neither may end the script early. It is
    // written for every other input by length, the other half drawing only the chart.
    if (size % 4 >= 2) return 0;
    std::vector<csv2pnp::TraceAnalysis> analyses;
    for (const csv2pnp::Trace& trace : read) {
        analyses.push_back(csv2pnp::analyseTrace(trace, {1e7, csv2pnp::CarrierSource::exportDefault, std::nullopt},
                                                 chart.band, trace.points, trace.points));
    }
    std::string html = csv2pnp::htmlReport(layout, svg, "", analyses, chart.band, "0");
    std::size_t embedded = html.find("<script type=\"application/json\"");
    require(embedded != std::string::npos);
    std::size_t end = html.find("</script>", embedded);
    require(end != std::string::npos && html.find("</", embedded + 1) == end);
    return 0;
}
