// csv2pnp's driver run in this process, with the fixed clock.
#pragma once

#include <string>
#include <vector>

#include "platform/file_system.h"
#include "processes.h"

namespace csv2pnp::test {

// Runs the converter with these arguments after the program name, its files reached
// through files.
ToolRun runDriver(std::vector<std::string> arguments, const FileSystem& files = hostFileSystem());

// The banner line that starts every run's console output.
std::string bannerLine();

// The console lines of one converted input.
std::string convertedMessages(const std::string& path, const std::string& baseName, std::size_t rows);

}  // namespace csv2pnp::test
