#include "report/html_report.h"

#include "report/report_data.h"
#include "report/report_script.h"
#include "report/report_tables.h"
#include "report/summary_text.h"
#include "text/json_text.h"
#include "text/xml_text.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

// The page as an analyzer's screen: the controls in a bar above the chart, the markers'
// read-out and the band's figures beside it (under it in a window narrower than the two), the
// tables below. The chart is never scaled down on the screen, so its text keeps its size: a
// window narrower than the chart scrolls it sideways in its box. No text of the page is
// smaller than 10 CSS pixels, and no table cell breaks inside a number. Printed, the page is a
// datasheet: the chart at the paper's width, the tables whole, no controls.
constexpr const char* lightStyle =
    "body{font-family:sans-serif;margin:8px;color:#111;background:#fff;font-size:14px}"
    "h1{font-size:16px;margin:0 4px 0 0}h2{font-size:15px;margin:14px 0 4px}"
    "h3{font-size:14px;font-weight:normal;margin:8px 0 3px}"
    "#bar{display:flex;flex-wrap:wrap;align-items:center;gap:4px 10px;margin:0 0 6px;font-size:13px}"
    ".controls{display:flex;flex-wrap:wrap;align-items:center;gap:3px 4px;padding-left:10px;"
    "border-left:1px solid #bbb}.controls form{display:flex;align-items:center;gap:4px;margin:0}"
    "button,input,select{font:inherit;margin:0}#marker-offset{width:5.5em}"
    "#keys{position:relative}#keys>summary{cursor:pointer}"
    "#keys>table{position:absolute;left:0;z-index:2;width:min(36em,90vw);background:#fff;border:1px solid #bbb;"
    "padding:4px 8px}#keys th{color:inherit;font-weight:bold;border:0}#keys td{white-space:normal}"
    "#instrument{display:flex;flex-wrap:wrap;gap:8px 12px;align-items:flex-start}"
    "#chart{flex:0 1 auto;max-width:100%;overflow-x:auto}"
    "#chart svg{display:block;cursor:crosshair;user-select:none;-webkit-user-select:none}"
    "#panel{flex:1 0 150px;min-width:150px;font-size:13px}"
    "#readout,#markers,#measure,#status,#band-note{margin:0 0 5px}"
    "#readout span{display:inline-block;margin-right:1em}#status,#band-note{color:#555}"
    "#band h2{font-size:13px;margin:8px 0 3px}"
    "#band-figures{display:flex;flex-wrap:wrap;gap:6px 18px}.band-trace{flex:1 1 150px;max-width:320px}"
    ".band-trace .caption{font-weight:bold}.swatch{display:inline-block;width:10px;height:10px;margin-right:5px}"
    ".figure{display:flex;flex-wrap:wrap;column-gap:6px}.figure .name{color:#555;white-space:nowrap}"
    ".figure .value{margin-left:auto;text-align:right;font-variant-numeric:tabular-nums}.n{white-space:nowrap}"
    "table{border-collapse:collapse;font-size:13px}th,td{text-align:left;padding:1px 8px;vertical-align:top}"
    "thead th{font-weight:normal;color:#555;border-bottom:1px solid #bbb;vertical-align:bottom}"
    "tbody th{font-weight:normal;white-space:nowrap}"
    "td{font-variant-numeric:tabular-nums}td.num{text-align:right;white-space:nowrap}"
    "#figures th.band{text-align:center}td.fail,div.fail{color:#b3003c;font-weight:bold}"
    ".wide{max-width:100%;overflow-x:auto}#verdicts td{min-width:12em}"
    ".beside{display:flex;flex-wrap:wrap;gap:0 40px;align-items:flex-start}#verdicts-section{flex:1 1 "
    "480px;min-width:0}"
    ".spur-tables{display:flex;flex-wrap:wrap;gap:0 32px}.no-spurs{margin:4px 0}"
    "table.spurs tbody tr{cursor:pointer}table.spurs tbody tr:hover,table.spurs tr.chosen{background:#e4ebf6}"
    "#details>summary{cursor:pointer;font-size:15px;font-weight:bold;margin:14px 0 4px}"
    ".detail-traces{display:flex;flex-wrap:wrap;gap:0 40px}"
    ".trace-details{flex:1 1 460px;min-width:0;max-width:900px;overflow-x:auto}"
    ".fields>tbody>tr>th{color:#555}.fields table{margin:2px 0 4px}"
    ".legend-entry{cursor:pointer}.legend-entry.hidden{opacity:.35}"
    ".legend-entry:focus{outline:2px solid #3070c0}#chart:focus-visible{outline:2px solid #3070c0}"
    "@media (max-width:999px){#panel{flex-basis:100%}}"
    "@media print{@page{margin:12mm}body{margin:0;font-size:10pt;color:#000;background:#fff}"
    "#bar .controls,#keys,#panel,#status{display:none}body.page-band #panel{display:block}"
    "body.page-band #panel>:not(#band){display:none}#instrument{display:block}"
    "#chart{overflow:visible;max-width:none;outline:none}#chart svg,#stability svg{width:100%;height:auto}"
    "#chart,#stability svg{break-inside:avoid}.wide{overflow:visible}"
    "table{font-size:7pt}th,td{padding:1px 3px}thead th{white-space:normal}thead{display:table-header-group}"
    "#figures td:not(.num){min-width:7em}"
    "tr,.spur-list,#band{break-inside:avoid}h2,h3,summary{break-after:avoid}#details:not([open]){display:none}"
    ".detail-traces{display:block}.trace-details{overflow:visible;max-width:none}}";
constexpr const char* darkStyle =
    "body{color:#e6e6e6;background:#15181c}thead th,.fields>tbody>tr>th,#status,#band-note,.figure .name{color:#a0a6ad}"
    "#keys>table{background:#15181c}table.spurs tbody tr:hover,table.spurs tr.chosen{background:#2a3240}";

// The keys and the mouse, as the page's script takes them.
constexpr const char* keysTable =
    "<details id=\"keys\"><summary>Keys</summary><table>\n"
    "<tr><th>pointer</th><td>the read-out and the marker that follows it along its trace</td></tr>\n"
    "<tr><th>click</th><td>put the marker down; the next click puts the delta marker down, the one after starts "
    "again</td></tr>\n"
    "<tr><th>drag</th><td>integrate the band dragged across; a drag narrower than 4 pixels takes the points "
    "around it</td></tr>\n"
    "<tr><th>shift-drag</th><td>zoom into the rectangle (or drag with &#8220;drag zooms&#8221; ticked)</td></tr>\n"
    "<tr><th>double-click</th><td>the band of the command line, the markers cleared</td></tr>\n"
    "<tr><th>&#8592; &#8594;</th><td>the active marker to the previous or next point of its trace "
    "(with shift: ten points)</td></tr>\n"
    "<tr><th>Home End</th><td>to the trace's first or last point</td></tr>\n"
    "<tr><th>&#8593; &#8595;</th><td>the active marker to the trace above or below in the legend</td></tr>\n"
    "<tr><th>1 2</th><td>make marker 1 or the delta marker 2 active</td></tr>\n"
    "<tr><th>P N</th><td>to the highest point in view; to the trace's next spur</td></tr>\n"
    "<tr><th>B</th><td>integrate the band between the two markers</td></tr>\n"
    "<tr><th>+ &#8722; 0</th><td>zoom in around the active marker; back; the whole chart</td></tr>\n"
    "<tr><th>Esc</th><td>clear the markers</td></tr>\n"
    "<tr><th>Tab, Enter</th><td>reach a legend entry, hide or show its trace</td></tr>\n"
    "</table></details>\n";

std::string points(const std::vector<TracePoint>& list) {
    std::string text = "[";
    for (std::size_t i = 0; i < list.size(); ++i) {
        text += (i ? ",[" : "[") + jsonNumber(list[i].offset) + "," + jsonNumber(list[i].level) + "]";
    }
    return text + "]";
}

// The marks of one line: where they stand, in the order the chart draws them.
std::string marks(const std::vector<ChartMark>& all, std::size_t line) {
    std::vector<TracePoint> list;
    for (const ChartMark& mark : all) {
        if (mark.line == line) list.push_back({mark.offset, mark.level});
    }
    return points(list);
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
    const ChartTheme& theme = layout.theme;
    data += ",\"theme\":{\"text\":" + jsonString(theme.text) + ",\"muted\":" + jsonString(theme.mutedText) +
            ",\"gridMajor\":" + jsonString(theme.gridMajor) + ",\"gridMinor\":" + jsonString(theme.gridMinor) +
            ",\"background\":" + jsonString(theme.background) + "}";
    // What the chart drew of its own, at the offsets and levels it stands for: the page draws
    // it again over a zoomed view.
    std::vector<const ShadedBand*> bands;
    if (layout.band) bands.push_back(&*layout.band);
    for (const ShadedBand& more : layout.moreBands) bands.push_back(&more);
    data += ",\"shaded\":[";
    for (std::size_t i = 0; i < bands.size(); ++i) {
        data += (i ? ",[" : "[") + jsonNumber(bands[i]->clipped.from) + "," + jsonNumber(bands[i]->clipped.to) + "]";
    }
    data += "],\"mask\":" + (layout.mask ? points(layout.mask->vertices) : std::string("null")) +
            ",\"zero\":" + (layout.zeroLine ? points(layout.zeroLine->vertices) : std::string("null"));
    data += ",\"fits\":[";
    for (std::size_t f = 0; f < layout.fits.size(); ++f) {
        const FitDrawing& fit = layout.fits[f];
        data += std::string(f ? "," : "") + "{\"line\":" + std::to_string(fit.line) + ",\"lines\":[";
        for (std::size_t i = 0; i < fit.lines.size(); ++i) data += (i ? "," : "") + points(fit.lines[i]);
        data += "],\"corners\":" + points(fit.corners) + "}";
    }
    data += "]";
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
                ",\"figures\":" + programFigures(analysis) + ",\"spurs\":" + points(trace.spurs) +
                ",\"limits\":" + marks(layout.limitMarks, trace.line) +
                ",\"fails\":" + marks(layout.failMarks, trace.line) +
                (trace.measured.empty() ? "" : ",\"measured\":" + points(trace.measured)) + ",\"shades\":[";
        bool firstShade = true;
        for (const ShadedRange& shade : layout.marginShades) {
            if (shade.line != trace.line) continue;
            data += std::string(firstShade ? "[" : ",[") + jsonNumber(shade.offsets.from) + "," +
                    jsonNumber(shade.offsets.to) + "]";
            firstShade = false;
        }
        data += "]";
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

}  // namespace

std::string htmlReport(const ChartLayout& layout, const std::string& svg, const std::string& stability,
                       const std::vector<TraceAnalysis>& analyses, std::optional<OffsetBand> band,
                       const std::string& version) {
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
        "<header id=\"bar\"><h1>" +
        xmlText(layout.title) +
        "</h1>\n"
        "<div class=\"controls\" role=\"group\" aria-label=\"Markers\">"
        "<label><input type=\"radio\" name=\"active-marker\" value=\"0\" checked> 1</label>"
        "<label><input type=\"radio\" name=\"active-marker\" value=\"1\"> 2 &#916;</label>"
        "<label>on <select id=\"marker-trace\"></select></label>"
        "<form id=\"marker-form\"><label>at <input id=\"marker-offset\" placeholder=\"10 kHz\" spellcheck=\"false\" "
        "autocomplete=\"off\" title=\"An offset in Hz, with an SI suffix as -r takes it: 10, 1k, 1.5M, 10 kHz\">"
        "</label><button type=\"submit\">Set</button></form>"
        "<button type=\"button\" id=\"peak\">Peak</button>"
        "<button type=\"button\" id=\"next-spur\">Next spur</button>"
        "<button type=\"button\" id=\"band-between\">Integrate between</button>"
        "<button type=\"button\" id=\"clear-markers\">Clear</button></div>\n"
        "<div class=\"controls\" role=\"group\" aria-label=\"Zoom\">"
        "<label><input type=\"checkbox\" id=\"drag-zooms\"> drag zooms</label>"
        "<button type=\"button\" id=\"zoom-back\" disabled>Back</button>"
        "<button type=\"button\" id=\"zoom-whole\" disabled>Whole chart</button></div>\n"
        "<div class=\"controls\" role=\"group\" aria-label=\"Image\">"
        "<button type=\"button\" id=\"save-png\">Save as PNG</button>"
        "<button type=\"button\" id=\"save-png-2x\">PNG 2&#215;</button>\n" +
        keysTable +
        "</div></header>\n<div id=\"instrument\">\n"
        "<div id=\"chart\" tabindex=\"0\" aria-label=\"The chart: the arrow keys move the active marker\">\n" +
        inlineSvg +
        "</div>\n<div id=\"panel\">\n"
        "<div id=\"readout\">Move the pointer over the plot to read the levels.</div>\n"
        "<div id=\"markers\"></div>\n<div id=\"measure\"></div>\n"
        "<div id=\"status\" role=\"status\" aria-live=\"polite\"></div>\n"
        "<section id=\"band\"><h2>Over <span id=\"band-range\"></span></h2>\n"
        "<div id=\"band-figures\"></div>\n<p id=\"band-note\"></p></section>\n"
        "</div>\n</div>\n" +
        figuresTableHtml(analyses) + "<div class=\"beside\">\n" + verdictTableHtml(analyses) +
        spurTablesHtml(analyses) + "</div>\n";
    if (!stability.empty()) {
        html += "<section id=\"stability\"><h2>Frequency stability</h2>\n<div class=\"wide\">" +
                stability.substr(stability.find("<svg")) + "</div></section>\n";
    }
    html += detailTablesHtml(analyses);
    html += "<script type=\"application/json\" id=\"pnpplot-data\">" + pageData(layout, analyses, band) + "</script>\n";
    html += "<script>\n" + std::string(reportScript) + "</script>\n</body>\n</html>\n";
    return html;
}

}  // namespace csv2pnp
