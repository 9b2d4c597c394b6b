// pnpplot run in this process, and as the built program.
#pragma once

#include <string>
#include <vector>

#include "platform/host.h"
#include "processes.h"

namespace csv2pnp::test {

// Runs pnpplot's driver with these arguments after the program name.
ToolRun runPlotDriver(std::vector<std::string> arguments, const Host& host = systemHost());

// Runs the built pnpplot.
ToolRun runPnpplot(const std::string& arguments);

}  // namespace csv2pnp::test
