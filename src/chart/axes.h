// The scales of the chart: decades of offset, tens of dB.
#pragma once

namespace csv2pnp {

// Decades from 10^first, at or below the lowest offset, to 10^last, at or above the highest.
struct OffsetAxis {
    int first;
    int last;  // always above first
};

OffsetAxis offsetAxisFor(double lowest, double highest);

// Where an offset stands on the axis, from 0 at its first decade to 1 at its last.
double offsetPosition(const OffsetAxis& axis, double offset);

// Levels rounded outward to 10 dB.
struct LevelAxis {
    double bottom;
    double top;   // always above bottom
    double step;  // 10 dB, more when the range would need too many lines
};

LevelAxis levelAxisFor(double lowest, double highest);

}  // namespace csv2pnp
