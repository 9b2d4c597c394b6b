// csv2pnp's driver run in this process, with the fixed clock.
#pragma once

#include <string>
#include <vector>

#include "platform/host.h"
#include "processes.h"

namespace csv2pnp::test {

// Runs the converter with these arguments after the program name, on the host given, or on
// the disk with the fixed clock.
ToolRun runDriver(std::vector<std::string> arguments, const Host& host);
ToolRun runDriver(std::vector<std::string> arguments);

// The banner line that starts every run's console output.
std::string bannerLine();

// The console lines of one converted input.
std::string convertedMessages(const std::string& path, const std::string& baseName, std::size_t rows);

}  // namespace csv2pnp::test
