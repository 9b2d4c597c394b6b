// The summary as one JSON document (RFC 8259, UTF-8) for scripts. Its keys are part of the
// interface: new ones may come, none is renamed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/trace_analysis.h"

namespace csv2pnp {

// chart: the SVG's path, nothing when the chart went to standard output.
std::string summaryJson(const std::vector<TraceAnalysis>& analyses, std::optional<std::string> chart,
                        const std::string& version);

}  // namespace csv2pnp
