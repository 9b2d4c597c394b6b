// pnpplot's --help text.
#pragma once

namespace csv2pnp {

extern const char* const plotHelpText;

}  // namespace csv2pnp
