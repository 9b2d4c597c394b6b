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

// After an error, what holds open the console of a run started from Explorer, which closes
// when the run ends.
inline constexpr const char* pressAKeyText = "Press a key to close this window.";

// Where a run's messages go and how it reaches the host: the same for every run.
struct PlotDriver {
    std::ostream* out = &std::cout;
    std::ostream* err = &std::cerr;
    Host host = systemHost();

    // Reads every input, draws their traces into one SVG chart and prints each trace's
    // figures. Returns 0 when every input was drawn and every trace passed the mask if there
    // was one, else one of the statuses above.
    // Started from Explorer, in a console of its own (files dropped on it, "Send to"), it
    // writes the report beside the first input that reads rather than a chart in the current
    // directory, opens it in the browser, and after an error or a warning waits for a key.
    int run(int argc, const char* const argv[]) const;

private:
    // The run; holdOpen is set when a dropped run has more to tell than its exit status.
    int draw(int argc, const char* const argv[], bool dropped, bool& holdOpen) const;
};

}  // namespace csv2pnp
