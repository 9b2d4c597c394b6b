// Rohde & Schwarz FSWP exports made for the tests, shaped as the instruments write them: a
// trace of 4,663 points from 1 Hz to 30 MHz, its levels scattered by ±0.5 dB, with tones 6 to
// 16 points wide standing 10 to 38 dB above the noise, and the instrument's own integrated
// figure worked out here, independently of pnpplot: the trapezoid of the exported trace in
// linear power over linear offset.
#pragma once

#include <string>
#include <vector>

namespace csv2pnp::test {

// A trace as the export prints it, 10 decimals, and the numbers those texts read back as.
struct PrintedTrace {
    std::vector<std::string> offsets, levels;
    std::vector<double> offsetValues, levelValues;
};

// The trace; seed varies the scatter, lift moves every level by that many dB.
PrintedTrace fswpTrace(unsigned seed, double lift = 0);

// 10 log10 of the trapezoid of 10^(L/10) over the offsets from to to (the ends interpolated
// linearly in power and offset).
double trapezoidDbc(const PrintedTrace& trace, double from, double to);

// A row of the window of integrated figures.
struct IntegratedRange {
    int trace;
    double from, to;
    double noiseDbc;  // as the export prints it, to 3 decimals
};

// The tab-separated export of an FSWP-26 (firmware 3.01): trace 1 the trace given, traces 2 to
// 6 "Trace Mode<TAB>BLANK" with no values, then the window of integrated figures, a row a range.
struct RsExport {
    std::string bytes;
    std::vector<IntegratedRange> ranges;
};
RsExport fswp26TabExport(const PrintedTrace& trace, const std::vector<std::pair<double, double>>& ranges);

// The form for numerical tools of an FSWP-8 (firmware 3.02): every header line after '%', the
// first trace's with semicolons, the second's with spaces, rows "offset level " with a space
// after each; trace 2 smoothed by the instrument. Its window of integrated figures has a row a
// trace over the range given.
RsExport fswp8NumericalExport(const PrintedTrace& first, const PrintedTrace& second, double from, double to);

}  // namespace csv2pnp::test
