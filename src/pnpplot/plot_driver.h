// pnpplot from its command line to its exit status.
#pragma once

#include <iostream>

#include "platform/file_system.h"

namespace csv2pnp {

// Where a run's messages go and how it reaches the files: the same for every run.
struct PlotDriver {
    std::ostream* out = &std::cout;
    std::ostream* err = &std::cerr;
    FileSystem files = hostFileSystem();

    // Reads every input, draws their traces into one SVG chart and prints each trace's
    // figures. Returns 0 when every input was drawn, 1 when one could not be read or held
    // no trace (the others are still drawn), 2 for a usage error.
    int run(int argc, const char* const argv[]) const;
};

}  // namespace csv2pnp
