// The first console line of every run, quoted again in each plot file's comment block.
#pragma once

namespace csv2pnp {

// A fixed text of the file format that the viewer's users know: it does not follow the
// project's version.
inline constexpr const char* banner = "PN2060 CSV to Zembrik GPIB Toolkit noise plot file converter Quelvane V0.1";

}  // namespace csv2pnp
