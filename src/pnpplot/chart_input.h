// What pnpplot's chart shows of the analysed traces: each trace with its legend notes and
// marks, the title, the band, the mask.
#pragma once

#include <string>
#include <vector>

#include "analysis/trace_analysis.h"
#include "chart/chart_layout.h"
#include "chart/stability_layout.h"
#include "pnpplot/plot_options.h"

namespace csv2pnp {

// The measurements' names; when they would not fit the title, the first two and how many more.
std::string defaultTitle(const std::vector<TraceAnalysis>& analyses);

// Under a legend entry's caption: the carrier; a phase-noise trace's headline figures over the
// band, as the summary has them, with what changed them and the part of the band they cover
// when it is less; whether its levels are smoothed.
std::vector<std::string> legendNotes(const TraceAnalysis& analysis);

ChartInput chartInputOf(const std::vector<TraceAnalysis>& analyses, const PlotOptions& options, const LimitMask* mask);

// Each phase-noise trace's deviations, in its input's hue: nothing when none was asked.
std::optional<StabilityInput> stabilityInputOf(const std::vector<TraceAnalysis>& analyses, const PlotOptions& options);

}  // namespace csv2pnp
