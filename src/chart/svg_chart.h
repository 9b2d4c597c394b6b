// Writes a chart layout as one standalone SVG 1.1 document.
#pragma once

#include <string>

#include "chart/chart_layout.h"

namespace csv2pnp {

// Every text from the inputs is escaped, so any bytes give a well-formed document.
std::string svgChart(const ChartLayout& layout);

}  // namespace csv2pnp
