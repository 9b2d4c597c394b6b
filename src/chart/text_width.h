// How much room a drawn text takes: what the layouts measure labels with.
#pragma once

#include <string_view>

namespace csv2pnp {

// The width of the UTF-8 text in the charts' sans-serif font at the size in pixels: an estimate
// that errs wide, so that texts it keeps apart never touch (from DejaVu Sans, the widest of
// the fonts a renderer takes for sans-serif).
double textWidth(std::string_view utf8, double fontSize);

}  // namespace csv2pnp
