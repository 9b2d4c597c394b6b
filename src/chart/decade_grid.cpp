#include "chart/decade_grid.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "chart/text_width.h"
#include "numeric/numeric.h"
#include "numeric/portable_math.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

constexpr int maxDecadesWithMinorLines = 12;
constexpr int lowestPrefixed = -15, highestPrefixed = 14;  // 1 f to 100 T
// A label's height along a vertical axis, a raised exponent's reaching above it.
constexpr double tickHeight = 14, raisedHeight = 18;

// "−18": the exponent with a true minus sign.
std::string exponentText(int decade) {
    std::string digits = std::to_string(std::abs(decade));
    return decade < 0 ? "\xe2\x88\x92" + digits : digits;
}

// k divides d, for negative d too.
bool multipleOf(int d, int k) { return ((d % k) + k) % k == 0; }

}  // namespace

TickText decadeText(int decade, std::string_view unit) {
    if (decade >= lowestPrefixed && decade <= highestPrefixed) return {drawnWithPrefix(powerOfTen(decade), unit)};
    return {"10", exponentText(decade), " " + std::string(unit)};
}

TickText powerText(int decade) {
    if (decade == 0) return {"1"};
    if (decade == 1) return {"10"};
    return {"10", exponentText(decade)};
}

double tickWidth(const TickText& label) {
    return textWidth(label.text + label.after, tickFontSize) + textWidth(label.superscript, superscriptFontSize);
}

std::vector<GridLine> decadeGrid(const OffsetAxis& axis, double start, double length, bool horizontal,
                                 TickText (*label)(int decade)) {
    const int decades = axis.last - axis.first;
    const double decadeLength = std::fabs(length) / decades;
    std::vector<TickText> texts;
    std::vector<double> extents;
    for (int d = axis.first; d <= axis.last; ++d) {
        texts.push_back(label(d));
        const TickText& text = texts.back();
        extents.push_back(horizontal ? tickWidth(text) : text.superscript.empty() ? tickHeight : raisedHeight);
    }
    // The least stride whose neighbouring labels keep apart; one label at the least.
    int stride = 1;
    for (; stride < decades; ++stride) {
        bool apart = true;
        int previous = -1;
        for (int i = 0; i <= decades && apart; ++i) {
            if (!multipleOf(axis.first + i, stride)) continue;
            if (previous >= 0) {
                apart = (extents[static_cast<std::size_t>(previous)] + extents[static_cast<std::size_t>(i)]) / 2 +
                            tickGap <=
                        (i - previous) * decadeLength;
            }
            previous = i;
        }
        if (apart) break;
    }
    std::vector<GridLine> grid;
    for (int d = axis.first; d <= axis.last; ++d) {
        const double at = start + static_cast<double>(d - axis.first) / decades * length;
        grid.push_back(
            {at, false, multipleOf(d, stride) ? texts[static_cast<std::size_t>(d - axis.first)] : TickText{}});
        if (d == axis.last || decades > maxDecadesWithMinorLines) continue;
        for (int m = 2; m <= 9; ++m) grid.push_back({at + math::log10(m) / decades * length, true, {}});
    }
    return grid;
}

}  // namespace csv2pnp
