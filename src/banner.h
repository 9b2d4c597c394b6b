// The program's name and version as the banner and the plot file headers show them.
#pragma once

namespace csv2pnp {

inline constexpr const char* banner =
    "PN2060 CSV to Zembrik GPIB Toolkit noise plot file converter Quelvane V" CSV2PNP_VERSION;

}  // namespace csv2pnp
