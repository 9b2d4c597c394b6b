#include "report/report_data.h"

#include <algorithm>

#include "figures/noise_figures.h"

namespace csv2pnp {

std::vector<ReportTrace> reportTraces(const ChartLayout& layout, const std::vector<TraceAnalysis>& analyses) {
    std::vector<ReportTrace> traces;
    for (const ChartSeries& series : layout.series) {
        const TraceAnalysis& analysis = analyses[series.line];
        const std::vector<TracePoint>& figure = figurePoints(analysis);
        ReportTrace trace{
            series.line, std::nullopt, series.vertices.size() < figure.size(), series.vertices, {}, {}, {}, {}};
        for (const SpurFigures& spur : analysis.spurs) trace.spurs.push_back({spur.spur.offset, spur.spur.level});
        for (const ChartSeries& measured : layout.measured) {
            if (measured.line == series.line) trace.measured = measured.vertices;
        }
        if (analysis.carrier.hertz > 0) trace.carrier = analysis.carrier.hertz;
        if (analysis.integration && analysis.integration->spurs == SpurTreatment::power) {
            for (const SpurFigures& spur : analysis.spurs) trace.tones.emplace_back(spur.spur.offset, spur.spur.power);
        }
        if (!trace.thinned) {
            trace.figure = figure;
        } else {
            std::vector<std::pair<double, double>> running = runningIntegrals(figure);
            for (const TracePoint& vertex : series.vertices) {
                auto at = std::lower_bound(figure.begin(), figure.end(), vertex.offset,
                                           [](const TracePoint& p, double offset) { return p.offset < offset; });
                trace.running.push_back(running[static_cast<std::size_t>(at - figure.begin())]);
            }
        }
        traces.push_back(std::move(trace));
    }
    std::sort(traces.begin(), traces.end(), [](const ReportTrace& a, const ReportTrace& b) { return a.line < b.line; });
    return traces;
}

}  // namespace csv2pnp
