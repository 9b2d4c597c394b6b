#include "traces/trace.h"

#include <algorithm>
#include <cmath>

#include "files/base_name.h"

namespace csv2pnp {

void settlePoints(Trace& trace) {
    std::vector<TracePoint>& points = trace.points;
    auto drawable = [](const TracePoint& p) {
        return p.offset > 0 && std::isfinite(p.offset) && std::isfinite(p.level);
    };
    auto kept = std::stable_partition(points.begin(), points.end(), drawable);
    trace.leftOut += static_cast<std::size_t>(points.end() - kept);
    points.erase(kept, points.end());
    auto byOffset = [](const TracePoint& a, const TracePoint& b) { return a.offset < b.offset; };
    // Exports and plot files come in order already; sorting would cost a buffer.
    if (!std::is_sorted(points.begin(), points.end(), byOffset))
        std::stable_sort(points.begin(), points.end(), byOffset);
    // Of equal offsets the last one read stands, as a later measurement of the same point.
    std::size_t out = 0;
    for (std::size_t in = 0; in < points.size(); ++in) {
        if (in + 1 < points.size() && points[in + 1].offset == points[in].offset) continue;
        points[out++] = points[in];
    }
    trace.repeated += points.size() - out;
    points.resize(out);
}

Trace namedTrace(const std::string& source, const std::string& layout, std::string part) {
    Trace trace;
    trace.source = source;
    trace.measurement = baseNameOf(source);
    trace.part = std::move(part);
    trace.caption = trace.measurement + " " + trace.part;
    trace.group = layout + " " + source;
    trace.layout = layout;
    return trace;
}

Result<std::vector<Trace>> settledTraces(std::vector<Trace> traces, const std::string& source) {
    std::vector<Trace> read;
    std::size_t found = 0;
    for (Trace& trace : traces) {
        found += trace.points.size();
        settlePoints(trace);
        if (!trace.points.empty()) read.push_back(std::move(trace));
    }
    if (read.empty()) return Problem{ProblemKind::invalid, source, 0, found == 0 ? noTrace : noDrawablePoint};
    return read;
}

}  // namespace csv2pnp
