// A limit mask: the highest phase noise a requirement allows an oscillator at each offset.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "problems/problem.h"
#include "traces/trace.h"

namespace csv2pnp {

struct LimitMask {
    std::string file;                // as named on the command line
    std::vector<TracePoint> points;  // offsets never decrease; a repeated offset is a step
};

// Text, one point a line, "offset,level": the offset in Hz with the SI suffixes of -r, the
// level in dBc/Hz. A # starts a comment, to the end of its line (a whole line, or after a
// point: "10,-125  # near-in"); empty lines are skipped; CR LF, LF and CR end
// lines; a byte-order mark at the start is left out. Any other line is a problem naming the
// file and its line.
Result<LimitMask> readLimitMask(std::string_view text, const std::string& file);

// The limit at an offset inside the mask: straight in log f and dB between its points; at a
// step the higher of the levels there. Nothing outside the mask's offsets.
std::optional<double> limitAt(const LimitMask& mask, double offset);

struct MaskVerdict {
    std::size_t judged = 0;           // points inside the mask's offsets
    OffsetBand judgedSpan{};          // Hz: from the first judged point to the last, when judged
    OffsetBand maskSpan{};            // Hz: the mask's first and last offsets
    std::size_t above = 0;            // of them above their limit
    std::optional<double> worst;      // dB: the largest excess over the limit, negative when all pass
    double worstAt = 0;               // Hz
    std::vector<TracePoint> failing;  // the points above their limit
    bool coversMask = false;          // the trace reaches over the mask's whole span
    bool passes() const { return judged > 0 && above == 0; }
};

// Judges every point inside the mask's offsets; a point at its limit passes.
MaskVerdict judgeAgainstMask(const std::vector<TracePoint>& points, const LimitMask& mask);

}  // namespace csv2pnp
