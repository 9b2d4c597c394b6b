// Formats the "   TRA" lines of the trace.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

#include "csv2pnp/fixed_three.h"

namespace csv2pnp {

// "   TRA <number>: <frequency> Hz, <level> dBc" and CR LF, both values as "%.3f" prints
// them. A row's two lines differ only in their level, so the part before it is formatted
// once for both; and as the numbers mostly count up by one, the next one is made from the
// last where it can be.
class TraceLineFormatter {
public:
    // Starts the lines of one row.
    void start(std::size_t number, double frequency);

    // The whole line with this level, its CR LF included; valid until the next call.
    std::string_view withLevel(double level);

private:
    // Adds one to the number in the buffer; false when it would grow by a digit.
    bool countOn();

    // Room for the longest line: a 20-digit number and two values of the longest fixed form.
    std::array<char, 40 + 2 * fixedThreeMaxLength> buffer_;
    bool holdsNumber_ = false;
    std::size_t number_ = 0;          // the number in the buffer, when it holds one
    std::size_t frequencyStart_ = 0;  // where the number and ": " end
    std::size_t levelStart_ = 0;      // where " Hz, " ends
};

}  // namespace csv2pnp
