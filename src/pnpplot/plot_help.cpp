#include "pnpplot/plot_help.h"

namespace csv2pnp {

const char* const plotHelpText =
    "Usage: pnpplot [options] FILE...\n"
    "Draws noise plot files (.pnp, .img.pnp) and PN2060 CSV exports as one SVG chart and\n"
    "prints the phase-noise figures of each trace: spot noise, integrated phase noise, RMS\n"
    "phase and jitter, residual FM, spurs, the margin above the floor, a mask's verdict.\n"
    "\n"
    "Options:\n"
    "  -o FILE    the SVG file; default: the first input's name + .svg, in the current\n"
    "             directory; - writes the SVG to standard output and prints no summary\n"
    "  -r F1:F2   offset range of the integrated figures, in Hz with SI suffixes\n"
    "             (10, 1k, 12k, 1.5M); default: each trace's whole range\n"
    "  -c HZ      carrier frequency for the jitter; default: the file's CAR record, 10 MHz\n"
    "             for a CSV export\n"
    "  -n HZ      show and sum up every trace as if its carrier were HZ: levels move by\n"
    "             20 log10(HZ / carrier), the jitter stays\n"
    "  -t TEXT    the chart's title; default: the captions of the inputs\n"
    "  -m FILE    judge each phase-noise trace against a limit mask: lines \"offset,level\"\n"
    "             (Hz with SI suffixes, dBc/Hz), # starts a comment\n"
    "  -j FILE    also write the summary as JSON; - writes it to standard output instead\n"
    "             of the text summary\n"
    "  --spur-threshold DB  a spur stands more than DB above the median of the 11 points\n"
    "             around it; default 10\n"
    "  --omit-spurs         integrate with each spur replaced by its clean line\n"
    "  --margin DB          report where the trace is less than DB above its floor;\n"
    "             default 10\n"
    "  --subtract-floor     take the floor's power out of each point above it, and leave\n"
    "             out the points at or below it\n"
    "  -h, --help           show this text\n"
    "  --version            show the version\n"
    "\n"
    "Exit status: 0 every input drawn; 1 an input could not be read or held no trace, or\n"
    "an output could not be written; 2 a usage error or a mask file that does not read;\n"
    "3 every input drawn, but a trace fails the mask.\n";

}  // namespace csv2pnp
