#include "report/html_report.h"

#include <algorithm>

#include "report/report_data.h"
#include "report/report_script.h"
#include "report/summary_text.h"
#include "text/json_text.h"
#include "text/xml_text.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

// The chart is never scaled down, so its text keeps its size: a window narrower than the chart
// scrolls it sideways, a wide one sets the controls beside it and the trace's tables side by
// side. No text of the page is smaller than 10 CSS pixels.
constexpr const char* lightStyle =
    "body{font-family:sans-serif;margin:16px;color:#111;background:#fff}"
    "h1{font-size:1.3em;margin:.3em 0 .6em}h2{font-size:1.1em;margin:1.2em 0 .3em}"
    "table{border-collapse:collapse;font-size:.9em}th,td{text-align:left;padding:1px 10px 1px 0;vertical-align:top}"
    "th{font-weight:normal;color:#555;white-space:nowrap}"
    "td{font-variant-numeric:tabular-nums;white-space:pre-wrap;overflow-wrap:anywhere}"
    "td.fail{color:#b3003c;font-weight:bold}"
    "#instrument{display:flex;flex-wrap:wrap;gap:12px 24px;align-items:flex-start}"
    "#chart{flex:0 1 auto;max-width:100%;overflow-x:auto}"
    "#chart svg{display:block;cursor:crosshair;user-select:none;-webkit-user-select:none}"
    "#panel{flex:1 1 300px;min-width:0;max-width:640px;font-size:.9em}"
    "fieldset{border:1px solid #bbb;margin:0 0 8px;padding:2px 8px 6px}fieldset>*{margin:4px 6px 0 0}"
    "legend{padding:0 4px}button,input,select{font:inherit}#marker-offset{width:6.5em}"
    "#readout,#markers,#measure,#status,#band-note{min-height:1.3em;margin:2px 0}"
    "#readout span,#markers span{margin-right:1.2em;display:inline-block}#status{color:#555}"
    ".wide{max-width:100%;overflow-x:auto}#figures td{white-space:nowrap}"
    "#keys{margin-top:8px}#keys th{color:inherit;font-weight:bold}#keys td{white-space:normal}"
    "#details{display:flex;flex-wrap:wrap;gap:0 40px}.summary{flex:1 1 460px;min-width:0;max-width:900px}"
    ".legend-entry{cursor:pointer}.legend-entry.hidden{opacity:.35}"
    ".legend-entry:focus{outline:2px solid #3070c0}#chart:focus-visible{outline:2px solid #3070c0}"
    "@media (max-width:700px){body{margin:8px}}";
constexpr const char* darkStyle =
    "body{color:#e6e6e6;background:#15181c}th,#status{color:#a0a6ad}fieldset{border-color:#555}";

// The keys and the mouse, as the page's script takes them.
constexpr const char* keysTable =
    "<details id=\"keys\" open><summary>Mouse and keys</summary><table>\n"
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

std::string decibels(double value) { return withDecimals(value, 2) + " dB"; }

// The figures table's columns beside the band's figures, each a cell a trace as the summary
// words it, with whether it is a verdict against the trace; a column none of the traces has
// a value for is left out.
struct FactColumn {
    std::string heading;
    std::vector<std::pair<std::string, bool>> cells;  // in the order of the analyses
};

std::vector<FactColumn> factColumns(const std::vector<TraceAnalysis>& analyses) {
    std::vector<FactColumn> columns{{"carrier", {}}, {"spurs", {}}, {"floor margin", {}}, {"mask", {}}};
    for (const TraceAnalysis& analysis : analyses) {
        const CarrierChoice& carrier = analysis.carrier;
        std::string text = withPrefix(carrier.hertz, "Hz") + (carrier.assumed() ? " (assumed)" : "");
        if (carrier.normalisedFrom) text += ", normalised from " + withPrefix(*carrier.normalisedFrom, "Hz");
        columns[0].cells.emplace_back(text, false);
        text.clear();
        if (!analysis.trace->floor)
            text = analysis.spurs.empty() ? "none" : std::to_string(analysis.spurs.size()) + ":";
        for (std::size_t i = 0; i < analysis.spurs.size(); ++i)
            text += (i ? ", " : " ") + offsetText(analysis.spurs[i].spur.offset);
        columns[1].cells.emplace_back(text, false);
        text.clear();
        if (analysis.floorMargin) {
            const FloorMargin& margin = *analysis.floorMargin;
            text = margin.smallest ? "smallest " + decibels(*margin.smallest) + " at " + offsetText(margin.smallestAt)
                                   : "none";
        }
        columns[2].cells.emplace_back(text, false);
        bool failing = false;
        text.clear();
        if (analysis.mask) {
            const MaskVerdict& verdict = analysis.mask->verdict;
            failing = verdict.judged == 0 || !verdict.passes();
            text = verdict.judged == 0 ? "not judged"
                   : verdict.passes()  ? "pass, " + decibels(-*verdict.worst) + " below at the closest"
                                       : "FAIL, " + std::to_string(verdict.above) + " of " +
                                            std::to_string(verdict.judged) + " points above";
        }
        columns[3].cells.emplace_back(text, failing);
    }
    std::vector<FactColumn> present;
    for (FactColumn& column : columns) {
        bool any = std::any_of(column.cells.begin(), column.cells.end(),
                               [](const std::pair<std::string, bool>& cell) { return !cell.first.empty(); });
        if (any) present.push_back(std::move(column));
    }
    return present;
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
    const std::vector<FactColumn> facts = factColumns(analyses);
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
                ",\"fails\":" + marks(layout.failMarks, trace.line) + ",\"shades\":[";
        bool firstShade = true;
        for (const ShadedRange& shade : layout.marginShades) {
            if (shade.line != trace.line) continue;
            data += std::string(firstShade ? "[" : ",[") + jsonNumber(shade.offsets.from) + "," +
                    jsonNumber(shade.offsets.to) + "]";
            firstShade = false;
        }
        data += "],\"facts\":[";
        for (std::size_t i = 0; i < facts.size(); ++i) {
            const std::pair<std::string, bool>& cell = facts[i].cells[trace.line];
            data += (i ? ",[" : "[") + jsonString(cell.first) + "," + (cell.second ? "true" : "false") + "]";
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

// One row a trace: the band's figures, which a dragged band changes, then the columns of
// factColumns. The page's script fills the rows.
std::string figuresTable(const std::vector<TraceAnalysis>& analyses) {
    std::string html =
        "<section id=\"band\"><h2>Figures over <span id=\"band-range\"></span></h2>\n"
        "<div class=\"wide\"><table id=\"figures\"><thead><tr><th>trace</th><th>phase noise</th><th>RMS phase</th>"
        "<th>RMS jitter</th><th>residual FM</th>";
    for (const FactColumn& column : factColumns(analyses)) html += "<th>" + xmlText(column.heading) + "</th>";
    return html + "</tr></thead><tbody></tbody></table></div>\n<p id=\"band-note\"></p></section>\n";
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
        "<h1>" +
        xmlText(layout.title) +
        "</h1>\n<div id=\"instrument\">\n"
        "<div id=\"chart\" tabindex=\"0\" aria-label=\"The chart: the arrow keys move the active marker\">\n" +
        inlineSvg +
        "</div>\n<div id=\"panel\">\n"
        "<fieldset id=\"marker-controls\"><legend>Markers</legend>"
        "<label><input type=\"radio\" name=\"active-marker\" value=\"0\" checked> 1</label>"
        "<label><input type=\"radio\" name=\"active-marker\" value=\"1\"> 2 (delta)</label>"
        "<label>on <select id=\"marker-trace\"></select></label>"
        "<form id=\"marker-form\"><label>at <input id=\"marker-offset\" placeholder=\"10k\" spellcheck=\"false\" "
        "autocomplete=\"off\" title=\"An offset in Hz, with an SI suffix as -r takes it: 10, 1k, 1.5M\"></label> "
        "<button type=\"submit\">Set</button></form>"
        "<button type=\"button\" id=\"peak\">Peak</button>"
        "<button type=\"button\" id=\"next-spur\">Next spur</button>"
        "<button type=\"button\" id=\"band-between\">Integrate between</button>"
        "<button type=\"button\" id=\"clear-markers\">Clear</button></fieldset>\n"
        "<fieldset id=\"zoom-controls\"><legend>Zoom</legend>"
        "<label><input type=\"checkbox\" id=\"drag-zooms\"> drag zooms</label>"
        "<button type=\"button\" id=\"zoom-back\" disabled>Back</button>"
        "<button type=\"button\" id=\"zoom-whole\" disabled>Whole chart</button></fieldset>\n"
        "<fieldset id=\"image-controls\"><legend>Image</legend>"
        "<button type=\"button\" id=\"save-png\">Save as PNG</button>"
        "<button type=\"button\" id=\"save-png-2x\">Save as PNG, 2&#215;</button></fieldset>\n"
        "<div id=\"readout\">Move the pointer over the plot to read the levels.</div>\n"
        "<div id=\"markers\"></div>\n<div id=\"measure\"></div>\n"
        "<div id=\"status\" role=\"status\" aria-live=\"polite\"></div>\n" +
        keysTable + "</div>\n</div>\n" + figuresTable(analyses);
    if (!stability.empty()) {
        html += "<section id=\"stability\"><h2>Frequency stability</h2>\n<div class=\"wide\">" +
                stability.substr(stability.find("<svg")) + "</div></section>\n";
    }
    html += "<div id=\"details\">\n";
    for (const TraceAnalysis& analysis : analyses) html += summaryTable(analysis);
    html += "</div>\n";
    html += "<script type=\"application/json\" id=\"pnpplot-data\">" + pageData(layout, analyses, band) + "</script>\n";
    html += "<script>\n" + std::string(reportScript) + "</script>\n</body>\n</html>\n";
    return html;
}

}  // namespace csv2pnp
