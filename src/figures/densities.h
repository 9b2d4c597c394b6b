// The spectral densities of phase noise that papers and datasheets plot besides L(f): each a
// function of L at an offset f from a carrier nu0.
//   S_phi = L + 10 log10 2                  dB rad²/Hz
//   S_nu  = S_phi + 20 log10 f              dB Hz²/Hz
//   S_y   = S_phi + 20 log10(f / nu0)       dB 1/Hz
//   S_x   = S_phi - 20 log10(2 pi nu0)      dB s²/Hz
#pragma once

#include <optional>
#include <string_view>

namespace csv2pnp {

enum class Density { L, Sphi, Snu, Sy, Sx };

struct DensityInfo {
    Density density;
    std::string_view name;   // as --density takes it and the JSON gives it: "Sphi"
    std::string_view unit;   // "dB rad²/Hz"
    std::string_view label;  // the chart's axis: "S_phi(f) (dB rad²/Hz)"
};

const DensityInfo& densityInfo(Density density);
std::optional<Density> densityNamed(std::string_view name);

// The density at an offset, from L in dBc/Hz there; carrier in Hz.
double densityOf(Density density, double level, double offset, double carrier);

}  // namespace csv2pnp
