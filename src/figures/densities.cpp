#include "figures/densities.h"

#include "numeric/numeric.h"
#include "numeric/portable_math.h"

namespace csv2pnp {

namespace {

const DensityInfo infos[] = {
    {Density::L, "L", "dBc/Hz", "L(f) (dBc/Hz)"},
    {Density::Sphi, "Sphi", "dB rad²/Hz", "S_phi(f) (dB rad²/Hz)"},
    {Density::Snu, "Snu", "dB Hz²/Hz", "S_nu(f) (dB Hz²/Hz)"},
    {Density::Sy, "Sy", "dB 1/Hz", "S_y(f) (dB 1/Hz)"},
    {Density::Sx, "Sx", "dB s²/Hz", "S_x(f) (dB s²/Hz)"},
};

// 10 log10 2: S_phi is twice L, both sidebands of the phase.
const double twice = 10 * math::log10(2.0);

}  // namespace

const DensityInfo& densityInfo(Density density) { return infos[static_cast<int>(density)]; }

std::optional<Density> densityNamed(std::string_view name) {
    for (const DensityInfo& info : infos) {
        if (info.name == name) return info.density;
    }
    return std::nullopt;
}

double densityOf(Density density, double level, double offset, double carrier) {
    switch (density) {
    case Density::L: return level;
    case Density::Sphi: return level + twice;
    case Density::Snu: return level + twice + 20 * math::log10(offset);
    case Density::Sy: return level + twice + 20 * (math::log10(offset) - math::log10(carrier));
    case Density::Sx: return level + twice - 20 * math::log10(2 * pi * carrier);
    }
    return level;
}

}  // namespace csv2pnp
