#include "report/summary_table.h"

#include <cmath>

#include "text/json_text.h"

namespace csv2pnp {

const char* const summaryTableHeader =
    "file,trace,carrier_hz,band_from_hz,band_to_hz,phase_noise_dbc,rms_phase_rad,rms_jitter_s,residual_fm_hz,"
    "spurs,smallest_margin_db,mask,spurs_integrated";

namespace {

std::string field(const std::string& text) {
    if (text.find_first_of(",\"\r\n") == std::string::npos) return text;
    std::string quoted = "\"";
    for (char c : text) quoted += c == '"' ? std::string("\"\"") : std::string(1, c);
    return quoted + "\"";
}

// As the JSON writes a number; empty where the JSON has null.
std::string number(std::optional<double> value) { return value && std::isfinite(*value) ? jsonNumber(*value) : ""; }

std::string maskCell(const TraceAnalysis& analysis) {
    if (!analysis.mask) return "";
    const MaskVerdict& verdict = analysis.mask->verdict;
    if (verdict.judged == 0) return "not judged";
    return verdict.passes() ? "pass" : "fail";
}

}  // namespace

std::string summaryTable(const std::vector<TraceAnalysis>& analyses, const std::vector<std::string>& inputPaths) {
    std::string table = std::string(summaryTableHeader) + "\r\n";
    for (const TraceAnalysis& analysis : analyses) {
        const Trace& trace = *analysis.trace;
        std::vector<BandResult> bands{{analysis.band, analysis.integration}};
        bands.insert(bands.end(), analysis.moreBands.begin(), analysis.moreBands.end());
        for (const BandResult& result : bands) {
            const std::optional<BandFigures>& band = result.figures;
            const NoiseFigures* figures = band ? &band->figures : nullptr;
            const std::vector<std::string> cells{
                field(trace.input < inputPaths.size() ? inputPaths[trace.input] : trace.source),
                field(trace.caption),
                number(analysis.carrier.hertz),
                number(band ? band->integral.from : result.asked.from),
                number(band ? band->integral.to : result.asked.to),
                figures ? number(figures->integratedPhaseNoise) : "",
                figures ? number(figures->rmsPhase) : "",
                figures ? number(figures->rmsJitter) : "",
                figures ? number(figures->residualFm) : "",
                trace.floor ? "" : std::to_string(analysis.spurs.size()),
                analysis.floorMargin ? number(analysis.floorMargin->smallest) : "",
                maskCell(analysis),
                trace.floor || !band ? "" : std::string(spurTreatmentName(band->spurs))};
            for (std::size_t i = 0; i < cells.size(); ++i) table += (i ? "," : "") + cells[i];
            table += "\r\n";
        }
    }
    return table;
}

}  // namespace csv2pnp
