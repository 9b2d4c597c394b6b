// The stability chart as an SVG document of its own.
#pragma once

#include <string>

#include "chart/stability_layout.h"

namespace csv2pnp {

std::string stabilitySvg(const StabilityLayout& layout);

}  // namespace csv2pnp
