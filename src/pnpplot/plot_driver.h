// pnpplot from its command line to its exit status.
#pragma once

#include <ostream>

#include "platform/platform.h"

namespace csv2pnp {

// Reads every input, draws their traces into one SVG chart and prints each trace's figures.
// Returns 0 when every input was drawn, 1 when one could not be read or held no trace (the
// others are still drawn), 2 for a usage error.
int runPnpplot(int argc, const char* const argv[], std::ostream& out, std::ostream& err,
               InputRead read = readInputFile);

}  // namespace csv2pnp
