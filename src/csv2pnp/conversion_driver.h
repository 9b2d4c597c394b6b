// csv2pnp's whole run: banner, options, and each input converted into its two plot files.
#pragma once

#include <cstdint>
#include <iostream>
#include <string>
#include <vector>

#include "platform/host.h"
#include "plot_format/plot_format.h"

namespace csv2pnp {

// What one run takes from its command line; each run starts afresh.
struct ConversionRun {
    std::string programPath;
    std::uint32_t carrierFrequency = plotformat::defaultCarrierFrequency;
    bool verbose = false;
    std::vector<std::string> inputPaths;
};

// Where a run's messages go and how it reaches the host: the same for every run.
struct ConversionDriver {
    std::ostream* out = &std::cout;
    std::ostream* err = &std::cerr;
    Host host = systemHost();

    // Returns the exit status: 0 when every input was handled (inputs that do not open
    // included) and after a usage request; 1 after -o, or when an input could not be read
    // to its end or an output could not be created or written.
    int run(int argc, const char* const argv[]) const;
};

void printUsage(std::ostream& stream, const std::string& programPath);

// Converts one input; false when it could not be read, or an output could not be created
// or written, which ends the run.
bool convertFile(const ConversionDriver& driver, const ConversionRun& run, const std::string& inputPath);

}  // namespace csv2pnp
