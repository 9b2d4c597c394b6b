// pnpplot from its command line to its exit status.
#pragma once

#include <iostream>

#include "platform/host.h"

namespace csv2pnp {

// The exit statuses; 1 and 2 win over 3.
inline constexpr int statusNotAllRead = 1;  // an input could not be read or held no trace (the others are
                                            // still drawn), or an output could not be written
inline constexpr int statusUsage = 2;       // a usage error, or a mask file that does not read
inline constexpr int statusMaskFailed = 3;  // every input drawn, but a trace fails the mask

// Where a run's messages go and how it reaches the host: the same for every run.
struct PlotDriver {
    std::ostream* out = &std::cout;
    std::ostream* err = &std::cerr;
    Host host = systemHost();

    // Reads every input, draws their traces into one SVG chart and prints each trace's
    // figures. Returns 0 when every input was drawn and every trace passed the mask if there
    // was one, else one of the statuses above.
    int run(int argc, const char* const argv[]) const;
};

}  // namespace csv2pnp
