// The grid of a decade axis and its labels, as the charts draw them.
#pragma once

#include <string>
#include <string_view>
#include <vector>

#include "chart/axes.h"

namespace csv2pnp {

// A label's text; a power of ten beyond the prefixes is 10 with its exponent raised, then what
// follows it: {"10", "\u221218", " Hz"} draws 10⁻¹⁸ Hz.
struct TickText {
    std::string text;
    std::string superscript{};
    std::string after{};
};

struct GridLine {
    double at;       // x of a vertical line, y of a horizontal one
    bool minor;      // the lighter lines at 2 to 9 times a decade
    TickText label;  // an empty text when the line has none
};

// The labels' sizes: the grid's font, and the raised exponent's, in pixels.
inline constexpr double tickFontSize = 12, superscriptFontSize = 9;
// The least room between two labels of an axis, in pixels.
inline constexpr double tickGap = 8;

// 10^decade of the unit with a prefix from f to T, µ for micro ("100 µHz", "1 GHz", "10 µs");
// beyond them 10 with the exponent raised ("10⁻¹⁸ Hz").
TickText decadeText(int decade, std::string_view unit);
// 10^decade of a quantity without unit: "10⁻⁷", "1", "10".
TickText powerText(int decade);

// How wide the label draws.
double tickWidth(const TickText& label);

// The grid of a decade axis from pixel `start`, `length` long (negative: upward): a line at
// each decade, lighter lines at 2 to 9 times it over at most 12 decades. Every k-th decade is
// labelled, those that are multiples of k (1 Hz, 1 kHz, 1 MHz at every third), with the least
// k that keeps neighbouring labels tickGap apart: measured by their widths along a horizontal
// axis, by their height along a vertical one.
std::vector<GridLine> decadeGrid(const OffsetAxis& axis, double start, double length, bool horizontal,
                                 TickText (*label)(int decade));

}  // namespace csv2pnp
