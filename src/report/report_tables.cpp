#include "report/report_tables.h"

#include <algorithm>
#include <cmath>

#include "report/summary_text.h"
#include "text/json_text.h"
#include "text/xml_text.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

const char* const overflows = figureOverflows;

struct Cell {
    std::string text;
    bool failing = false;
    int span = 1;  // columns it takes; 0 for one a cell before takes
};

struct Column {
    std::string heading;
    std::vector<Cell> cells;  // a row each
    std::string unit;         // the unit every number of the column has, taken out of its cells
};

// A cell that starts with a number: "12.34 dB at 1 MHz", "-107.465 dBc", "9.8348e-16 s".
bool startsWithNumber(const std::string& text) {
    std::size_t at = !text.empty() && text[0] == '-' ? 1 : 0;
    return at < text.size() && text[at] >= '0' && text[at] <= '9';
}

// The word after the number, where the number is followed by one.
std::string unitAfterNumber(const std::string& text) {
    std::size_t space = text.find(' ');
    if (space == std::string::npos) return "";
    std::size_t end = text.find_first_of(" ,", space + 1);
    return text.substr(space + 1, end == std::string::npos ? std::string::npos : end - space - 1);
}

// A unit every number of the column shares goes to its heading.
void unitToHeading(Column& column) {
    std::string unit;
    for (const Cell& cell : column.cells) {
        if (cell.span != 1 || !startsWithNumber(cell.text)) continue;
        std::string own = unitAfterNumber(cell.text);
        if (own.empty() || (!unit.empty() && own != unit)) return;
        unit = own;
    }
    if (unit.empty()) return;
    column.unit = unit;
    for (Cell& cell : column.cells) {
        if (cell.span == 1 && startsWithNumber(cell.text)) cell.text.erase(cell.text.find(' '), unit.size() + 1);
    }
}

std::string headingText(const Column& column) {
    std::string unit = column.unit.empty() ? "" : "(" + column.unit + ")";
    return xmlText(column.heading.empty() ? unit : unit.empty() ? column.heading : column.heading + " " + unit);
}

std::string cellHtml(const Cell& cell) {
    if (cell.span == 0) return "";
    std::string classes = startsWithNumber(cell.text) ? "num" : "";
    if (cell.failing) classes += classes.empty() ? "fail" : " fail";
    return "<td" + (classes.empty() ? "" : " class=\"" + classes + "\"") +
           (cell.span > 1 ? " colspan=\"" + std::to_string(cell.span) + "\"" : "") + ">" + xmlText(cell.text) + "</td>";
}

bool anyText(const Column& column) {
    return std::any_of(column.cells.begin(), column.cells.end(), [](const Cell& cell) { return !cell.text.empty(); });
}

// The value of the summary's field of that name, "" for none.
std::string fieldValue(const SummaryFields& fields, const std::string& name) {
    for (const SummaryField& field : fields) {
        if (field.name == name) return field.value;
    }
    return "";
}

std::string decibels(double value) { return withDecimals(value, 2) + " dB"; }

// The five columns of a band: its figures, or a cell over all five that says why there are none.
std::vector<Column> bandColumns(const std::vector<TraceAnalysis>& analyses, std::size_t band) {
    std::vector<Column> columns{
        {"phase noise", {}, ""}, {"RMS phase", {}, ""}, {"", {}, ""}, {"RMS jitter", {}, ""}, {"residual FM", {}, ""}};
    for (const TraceAnalysis& analysis : analyses) {
        const std::optional<BandFigures>& figures =
            band == 0 ? analysis.integration : analysis.moreBands[band - 1].figures;
        if (!figures) {
            columns[0].cells.push_back({"nothing: no overlap", false, 5});
            for (std::size_t i = 1; i < 5; ++i) columns[i].cells.push_back({"", false, 0});
            continue;
        }
        const NoiseFigures& f = figures->figures;
        bool finite = std::isfinite(f.rmsPhase);
        columns[0].cells.push_back({phaseNoiseText(f.integratedPhaseNoise)});
        columns[1].cells.push_back({finite ? significant(f.rmsPhase * 1000, 5) + " mrad" : overflows});
        columns[2].cells.push_back({finite ? significant(f.rmsPhaseDegrees, 5) + " deg" : ""});
        columns[3].cells.push_back({jitterText(f.rmsJitter)});
        columns[4].cells.push_back({residualFmText(f.residualFm)});
    }
    for (Column& column : columns) unitToHeading(column);
    return columns;
}

std::string bandName(const std::vector<TraceAnalysis>& analyses, std::size_t band) {
    const TraceAnalysis& first = analyses.front();
    if (band > 0) {
        const OffsetBand& asked = first.moreBands[band - 1].asked;
        return offsetText(asked.from) + " to " + offsetText(asked.to);
    }
    return first.bandGiven ? offsetText(first.band.from) + " to " + offsetText(first.band.to)
                           : "each trace's whole offsets";
}

// Carrier, spurs, smallest floor margin, mask: the columns beside the bands' figures.
std::vector<Column> factColumns(const std::vector<TraceAnalysis>& analyses) {
    std::vector<Column> columns{
        {"carrier", {}, ""}, {"spurs", {}, ""}, {"smallest floor margin", {}, ""}, {"mask", {}, ""}};
    for (const TraceAnalysis& analysis : analyses) {
        const CarrierChoice& carrier = analysis.carrier;
        std::string text = frequencyText(carrier.hertz) + (carrier.assumed() ? " (assumed)" : "");
        if (carrier.normalisedFrom) text += ", normalised from " + frequencyText(*carrier.normalisedFrom);
        columns[0].cells.push_back({text});
        text = analysis.trace->floor ? "" : analysis.spurs.empty() ? "none" : std::to_string(analysis.spurs.size());
        columns[1].cells.push_back({text});
        text.clear();
        if (analysis.floorMargin) {
            const FloorMargin& margin = *analysis.floorMargin;
            text = margin.smallest ? decibels(*margin.smallest) + " at " + offsetText(margin.smallestAt) : "none";
        }
        columns[2].cells.push_back({text});
        Cell verdict;
        if (analysis.mask) {
            const MaskVerdict& judged = analysis.mask->verdict;
            verdict.failing = judged.judged == 0 || !judged.passes();
            verdict.text = judged.judged == 0 ? "not judged"
                           : judged.passes()  ? "pass, " + decibels(-*judged.worst) + " below at the closest"
                                              : "FAIL, " + std::to_string(judged.above) + " of " +
                                                   std::to_string(judged.judged) + " points above";
        }
        columns[3].cells.push_back(verdict);
    }
    for (Column& column : columns) unitToHeading(column);
    return columns;
}

std::string headedTable(const std::string& attributes, const std::vector<Column>& columns,
                        const std::vector<std::string>& rowStarts) {
    std::string html = "<table" + attributes + "><thead><tr>";
    for (const Column& column : columns) html += "<th>" + headingText(column) + "</th>";
    html += "</tr></thead><tbody>\n";
    for (std::size_t row = 0; row < rowStarts.size(); ++row) {
        html += rowStarts[row];
        for (const Column& column : columns) html += cellHtml(column.cells[row]);
        html += "</tr>\n";
    }
    return html + "</tbody></table>";
}

// A table of the summary's: its first row the headings.
std::string cellsTable(const std::vector<const SummaryField*>& rows) {
    std::string html = "<table class=\"cells\"><thead><tr>";
    for (const std::string& cell : rows.front()->cells) html += "<th>" + xmlText(cell) + "</th>";
    html += "</tr></thead><tbody>";
    for (std::size_t r = 1; r < rows.size(); ++r) {
        html += "<tr>";
        for (const std::string& cell : rows[r]->cells) html += cellHtml({cell});
        html += "</tr>";
    }
    return html + "</tbody></table>";
}

std::string spotTable(const TraceAnalysis& analysis) {
    const DensityInfo& density = densityInfo(analysis.density);
    std::vector<Column> columns{{"offset", {}, ""}, {"level", {}, std::string(density.unit)}, {"", {}, ""}};
    std::vector<std::string> starts;
    for (const SpotLevel& spot : analysis.spotNoise) {
        columns[0].cells.push_back({offsetText(spot.offset)});
        double value = analysis.density == Density::L ? spot.level : spot.density;
        columns[1].cells.push_back({spot.inside ? withDecimals(value, 2) : "outside the trace"});
        columns[2].cells.push_back({spot.spurLeftOut ? "spur at " + offsetText(*spot.spurLeftOut) + " left out" : ""});
        starts.push_back("<tr>");
    }
    if (!anyText(columns[2])) columns.pop_back();
    return headedTable(" class=\"spot\"", columns, starts);
}

std::string sigmaText(double value, const char* unit) {
    return std::isfinite(value) ? scientificText(value, 4) + unit : overflows;
}

// ADEV, MDEV and TDEV side by side, a row a tau; nothing when none has a point.
std::string deviationTable(const TimeDeviations& deviations) {
    std::vector<std::pair<const char*, const std::vector<DeviationPoint>*>> asked;
    if (!deviations.allan.empty()) asked.emplace_back("ADEV", &deviations.allan);
    if (!deviations.modified.empty()) asked.emplace_back("MDEV", &deviations.modified);
    if (!deviations.time.empty()) asked.emplace_back("TDEV", &deviations.time);
    if (asked.empty()) return "";
    std::vector<Column> columns{{"tau", {}, ""}};
    for (const auto& [name, points] : asked) columns.push_back({name, {}, ""});
    std::vector<std::string> starts;
    for (std::size_t row = 0; row < asked.front().second->size(); ++row) {
        columns[0].cells.push_back({withPrefix((*asked.front().second)[row].tau, "s")});
        for (std::size_t i = 0; i < asked.size(); ++i) {
            const std::vector<DeviationPoint>& points = *asked[i].second;
            columns[i + 1].cells.push_back({row < points.size() ? sigmaText(points[row].value, "") : ""});
        }
        starts.push_back("<tr>");
    }
    if (!deviations.time.empty()) columns.back().unit = "s";
    return headedTable(" class=\"deviations\"", columns, starts);
}

bool isSpotField(const std::string& name) { return name.rfind("spot ", 0) == 0; }
bool isDeviationField(const std::string& name) { return name == "ADEV" || name == "MDEV" || name == "TDEV"; }

std::string traceDetails(const TraceAnalysis& analysis) {
    const SummaryFields fields = summaryFields(analysis);
    std::string html =
        "<section class=\"trace-details\"><h3>" + xmlText(analysis.trace->caption) + "</h3>\n<table class=\"fields\">";
    bool open = false, deviationsShown = false;
    auto row = [&](const std::string& name) {
        html += std::string(open ? "</td></tr>\n" : "") + "<tr><th>" + xmlText(name) + "</th><td>";
        open = true;
    };
    for (std::size_t i = 0; i < fields.size();) {
        const SummaryField& field = fields[i];
        std::size_t next = i + 1;
        // A field's lines go on in the fields after it that have no name.
        auto skipLines = [&]() {
            while (next < fields.size() && fields[next].name.empty() && fields[next].cells.empty()) ++next;
        };
        if (!field.cells.empty()) {
            std::vector<const SummaryField*> rows;
            for (; i < fields.size() && !fields[i].cells.empty() && (rows.empty() || fields[i].name.empty()); ++i)
                rows.push_back(&fields[i]);
            if (!field.name.empty() || !open) row(field.name);
            html += cellsTable(rows);
            continue;
        }
        if (field.name == "spurs") {
            skipLines();
        } else if (isSpotField(field.name)) {
            skipLines();
            row(field.name);
            html += spotTable(analysis);
        } else if (isDeviationField(field.name) && analysis.deviations) {
            std::string table = deviationTable(*analysis.deviations);
            const TimeDeviations& d = *analysis.deviations;
            bool empty = (field.name == "ADEV" ? d.allan : field.name == "MDEV" ? d.modified : d.time).empty();
            skipLines();
            if (empty) {
                row(field.name);
                html += xmlText(field.value);
            } else if (!deviationsShown) {
                row("deviations");
                html += table;
                deviationsShown = true;
            }
        } else {
            if (!field.name.empty() || !open) row(field.name);
            html +=
                std::string("<div") + (field.failing ? " class=\"fail\"" : "") + ">" + xmlText(field.value) + "</div>";
        }
        i = next;
    }
    return html + (open ? "</td></tr>\n" : "") + "</table></section>\n";
}

}  // namespace

std::string figuresTableHtml(const std::vector<TraceAnalysis>& analyses) {
    if (analyses.empty()) return "";
    std::vector<Column> facts = factColumns(analyses);
    std::size_t bands = 1 + analyses.front().moreBands.size();
    std::string head = "<tr><th rowspan=\"2\">trace</th>";
    std::string subhead = "<tr>";
    std::vector<Column> columns;
    if (anyText(facts[0])) {
        head += "<th rowspan=\"2\">" + headingText(facts[0]) + "</th>";
        columns.push_back(facts[0]);
    }
    for (std::size_t band = 0; band < bands; ++band) {
        head += "<th colspan=\"5\" class=\"band\">" + xmlText(bandName(analyses, band)) + "</th>";
        for (Column& column : bandColumns(analyses, band)) {
            subhead += "<th>" + headingText(column) + "</th>";
            columns.push_back(std::move(column));
        }
    }
    for (std::size_t i = 1; i < facts.size(); ++i) {
        if (!anyText(facts[i])) continue;
        head += "<th rowspan=\"2\">" + headingText(facts[i]) + "</th>";
        columns.push_back(facts[i]);
    }
    std::string html =
        "<section id=\"figures-section\"><h2>Figures</h2>\n<div class=\"wide\"><table id=\"figures\"><thead>" + head +
        "</tr>\n" + subhead + "</tr></thead><tbody>\n";
    for (std::size_t row = 0; row < analyses.size(); ++row) {
        html += "<tr data-trace=\"" + std::to_string(row) + "\"><th>" + xmlText(analyses[row].trace->caption) + "</th>";
        for (const Column& column : columns) html += cellHtml(column.cells[row]);
        html += "</tr>\n";
    }
    return html + "</tbody></table></div></section>\n";
}

std::string verdictTableHtml(const std::vector<TraceAnalysis>& analyses) {
    bool masked =
        std::any_of(analyses.begin(), analyses.end(), [](const TraceAnalysis& a) { return a.mask.has_value(); });
    std::string html =
        std::string("<section id=\"verdicts-section\"><h2>") + (masked ? "Integrated, and the mask" : "Integrated") +
        "</h2>\n<div class=\"wide\"><table id=\"verdicts\"><thead><tr><th>trace</th><th>figures over</th>" +
        (masked ? "<th>mask</th>" : "") + "</tr></thead><tbody>\n";
    for (const TraceAnalysis& analysis : analyses) {
        const SummaryFields fields = summaryFields(analysis);
        html += "<tr><th>" + xmlText(analysis.trace->caption) + "</th><td>" +
                xmlText(fieldValue(fields, "integrated")) + "</td>";
        if (masked) {
            html += std::string("<td") + (analysis.mask && !analysis.mask->verdict.passes() ? " class=\"fail\"" : "") +
                    ">" + xmlText(fieldValue(fields, "mask")) + "</td>";
        }
        html += "</tr>\n";
    }
    return html + "</tbody></table></div></section>\n";
}

std::string spurTablesHtml(const std::vector<TraceAnalysis>& analyses) {
    std::string tables, none;
    for (std::size_t line = 0; line < analyses.size(); ++line) {
        const TraceAnalysis& analysis = analyses[line];
        if (analysis.trace->floor) continue;
        std::string said = fieldValue(summaryFields(analysis), "spurs");
        if (analysis.spurs.empty()) {
            none += "<p class=\"no-spurs\">" + xmlText(analysis.trace->caption) + ": " + xmlText(said) + "</p>\n";
            continue;
        }
        std::vector<Column> columns{
            {"offset", {}, ""}, {"level", {}, ""}, {"power", {}, ""}, {"jitter", {}, ""}, {"", {}, ""}};
        std::vector<std::string> starts;
        for (const SpurFigures& spur : analysis.spurs) {
            columns[0].cells.push_back({offsetText(spur.spur.offset)});
            columns[1].cells.push_back({withDecimals(spur.spur.level, 2) + " dBc/Hz"});
            columns[2].cells.push_back({withDecimals(spur.spur.powerDbc, 3) + " dBc"});
            columns[3].cells.push_back({jitterText(spur.jitter)});
            columns[4].cells.push_back({spur.inBand ? "" : "outside the band"});
            starts.push_back("<tr data-trace=\"" + std::to_string(line) + "\" data-offset=\"" +
                             jsonNumber(spur.spur.offset) + "\" tabindex=\"0\">");
        }
        if (!anyText(columns[4])) columns.pop_back();
        for (Column& column : columns) unitToHeading(column);
        tables += "<section class=\"spur-list\"><h3>" + xmlText(analysis.trace->caption) + ": " + xmlText(said) +
                  "</h3>\n" + headedTable(" class=\"spurs\"", columns, starts) + "</section>\n";
    }
    if (tables.empty() && none.empty()) return "";
    return "<section id=\"spurs\"><h2>Spurs</h2>\n<div class=\"spur-tables\">" + tables + "</div>\n" + none +
           "</section>\n";
}

std::string detailTablesHtml(const std::vector<TraceAnalysis>& analyses) {
    std::string html =
        "<details id=\"details\"><summary>Each trace in full: spot noise, deviations, fit, floor margin</summary>\n"
        "<div class=\"detail-traces\">\n";
    for (const TraceAnalysis& analysis : analyses) html += traceDetails(analysis);
    return html + "</div></details>\n";
}

}  // namespace csv2pnp
