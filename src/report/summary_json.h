// The summary as one JSON document (RFC 8259, UTF-8) for scripts. Its keys are part of the
// interface: new ones may come, none is renamed.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "analysis/trace_analysis.h"

namespace csv2pnp {

// An input named on the command line, and what became of it.
struct InputOutcome {
    std::string path;
    std::optional<Problem> problem;  // nothing when it was read
};

// chart: the SVG's path, nothing when the chart went to standard output or into the report
// alone; report: the HTML report's path, when one was written.
std::string summaryJson(const std::vector<TraceAnalysis>& analyses, const std::vector<InputOutcome>& inputs,
                        std::optional<std::string> chart, std::optional<std::string> report,
                        const std::string& version);

}  // namespace csv2pnp
