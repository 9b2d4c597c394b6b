#include "report/html_report.h"

#include "report/report_data.h"
#include "report/report_script.h"
#include "report/summary_text.h"
#include "text/json_text.h"
#include "text/xml_text.h"

namespace csv2pnp {

namespace {

constexpr const char* lightStyle =
    "body{font-family:sans-serif;margin:24px;max-width:1100px;color:#111;background:#fff}"
    "h1{font-size:1.3em}h2{font-size:1.1em;margin:1.2em 0 .3em}"
    "table{border-collapse:collapse;font-size:.9em}th,td{text-align:left;padding:1px 10px 1px 0;vertical-align:top}"
    "th{font-weight:normal;color:#555;white-space:nowrap}td{font-variant-numeric:tabular-nums;white-space:pre}"
    "td.fail{color:#b3003c;font-weight:bold}"
    "#chart svg{display:block;max-width:100%;height:auto;cursor:crosshair;user-select:none}"
    "#readout,#measure,#band-note,.help{font-size:.9em;min-height:1.3em}"
    "#readout span{margin-right:1.2em}.legend-entry{cursor:pointer}.legend-entry.hidden{opacity:.35}"
    ".help{color:#555}";
constexpr const char* darkStyle = "body{color:#e6e6e6;background:#15181c}th,.help{color:#a0a6ad}";

std::string points(const std::vector<TracePoint>& list) {
    std::string text = "[";
    for (std::size_t i = 0; i < list.size(); ++i) {
        text += (i ? ",[" : "[") + jsonNumber(list[i].offset) + "," + jsonNumber(list[i].level) + "]";
    }
    return text + "]";
}

// The figures pnpplot printed for the band of the command line, which the page shows until a
// band is dragged: the same text as the summary, whatever a thinned trace's drawn points hold.
std::string programFigures(const TraceAnalysis& analysis) {
    if (!analysis.integration) return "null";
    const BandFigures& band = *analysis.integration;
    const NoiseFigures& figures = band.figures;
    return "[" + jsonString(phaseNoiseText(figures.integratedPhaseNoise)) + "," +
           jsonString(rmsPhaseText(figures.rmsPhase, figures.rmsPhaseDegrees)) + "," +
           jsonString(jitterText(figures.rmsJitter)) + "," + jsonString(residualFmText(figures.residualFm)) + "," +
           jsonString(offsetText(band.integral.from) + " to " + offsetText(band.integral.to)) + "]";
}

std::string pageData(const ChartLayout& layout, const std::vector<TraceAnalysis>& analyses,
                     std::optional<OffsetBand> band) {
    const PlotArea& area = layout.area;
    std::string data = "{\"area\":{\"left\":" + std::to_string(area.left) + ",\"top\":" + std::to_string(area.top) +
                       ",\"width\":" + std::to_string(area.width) + ",\"height\":" + std::to_string(area.height) +
                       "},\"decades\":[" + std::to_string(layout.offsets.first) + "," +
                       std::to_string(layout.offsets.last) + "],\"levels\":[" + jsonNumber(layout.levels.bottom) + "," +
                       jsonNumber(layout.levels.top) + "],\"unit\":" + jsonString(layout.levelUnit);
    data +=
        ",\"band\":" + (band ? "[" + jsonNumber(band->from) + "," + jsonNumber(band->to) + "]" : std::string("null"));
    data += ",\"traces\":[";
    bool first = true;
    for (const ReportTrace& trace : reportTraces(layout, analyses)) {
        const TraceAnalysis& analysis = analyses[trace.line];
        const ChartSeries* series = nullptr;
        for (const ChartSeries& s : layout.series) {
            if (s.line == trace.line) series = &s;
        }
        data += std::string(first ? "" : ",") + "{\"line\":" + std::to_string(trace.line) +
                ",\"caption\":" + jsonString(analysis.trace->caption) +
                ",\"floor\":" + (analysis.trace->floor ? "true" : "false") +
                ",\"colour\":" + jsonString(series->style.colour) + ",\"carrier\":" + jsonNumber(trace.carrier) +
                ",\"thinned\":" + (trace.thinned ? "true" : "false") + ",\"drawn\":" + points(trace.drawn) +
                ",\"figure\":" + (trace.thinned ? "null" : points(trace.figure)) +
                ",\"figures\":" + programFigures(analysis);
        if (trace.thinned) {
            data += ",\"running\":[";
            for (std::size_t i = 0; i < trace.running.size(); ++i) {
                data += (i ? ",[" : "[") + jsonNumber(trace.running[i].first) + "," +
                        jsonNumber(trace.running[i].second) + "]";
            }
            data += "]";
        }
        data += ",\"tones\":[";
        for (std::size_t i = 0; i < trace.tones.size(); ++i) {
            data += (i ? ",[" : "[") + jsonNumber(trace.tones[i].first) + "," + jsonNumber(trace.tones[i].second) + "]";
        }
        data += "]}";
        first = false;
    }
    data += "]}";
    // The data stands in a script element, which the first "</" would end.
    for (std::size_t at = 0; (at = data.find("</", at)) != std::string::npos; at += 3) data.replace(at, 2, "<\\/");
    return data;
}

std::string summaryTable(const TraceAnalysis& analysis) {
    std::string html = "<section class=\"summary\"><h2>" + xmlText(analysis.trace->caption) + "</h2>\n<table>\n";
    for (const SummaryField& field : summaryFields(analysis)) {
        html += "<tr><th>" + xmlText(field.name) + "</th>";
        if (field.cells.empty()) {
            html +=
                std::string("<td") + (field.failing ? " class=\"fail\"" : "") + ">" + xmlText(field.value) + "</td>";
        }
        // A row of a table: its cells in a row of their own.
        for (const std::string& cell : field.cells) html += "<td class=\"cell\">" + xmlText(cell) + "</td>";
        html += "</tr>\n";
    }
    return html + "</table></section>\n";
}

}  // namespace

std::string htmlReport(const ChartLayout& layout, const std::string& svg, const std::vector<TraceAnalysis>& analyses,
                       std::optional<OffsetBand> band, const std::string& version) {
    std::string inlineSvg = svg.substr(svg.find("<svg"));
    std::string html =
        "<!DOCTYPE html>\n<html lang=\"en\">\n<head>\n<meta charset=\"utf-8\">\n"
        "<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">\n"
        "<meta name=\"generator\" content=\"pnpplot " +
        xmlText(version) +
        "\">\n"
        "<title>" +
        xmlText(layout.title) + "</title>\n<style>" + lightStyle + (layout.dark ? darkStyle : "") +
        "</style>\n</head>\n<body>\n"
        "<h1>" +
        xmlText(layout.title) + "</h1>\n<div id=\"chart\">\n" + inlineSvg +
        "</div>\n"
        "<div id=\"readout\">Move the pointer over the plot to read the levels.</div>\n"
        "<div id=\"measure\"></div>\n"
        "<p class=\"help\">Click twice on the plot to measure between the two points; drag across it to integrate a "
        "band; double-click to return to the band of the command line; click a legend entry to hide or show its "
        "trace.</p>\n"
        "<section id=\"band\"><h2>Band <span id=\"band-range\"></span></h2>\n"
        "<table id=\"band-figures\"><thead><tr><th>trace</th><th>phase noise</th><th>RMS phase</th><th>RMS jitter</th>"
        "<th>residual FM</th></tr></thead><tbody></tbody></table>\n<p id=\"band-note\"></p></section>\n";
    for (const TraceAnalysis& analysis : analyses) html += summaryTable(analysis);
    html += "<script type=\"application/json\" id=\"pnpplot-data\">" + pageData(layout, analyses, band) + "</script>\n";
    html += "<script>\n" + std::string(reportScript) + "</script>\n</body>\n</html>\n";
    return html;
}

}  // namespace csv2pnp
