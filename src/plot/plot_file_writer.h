// Writes the lines of one plot file over a stream it does not own.
#pragma once

#include <ostream>
#include <string_view>

namespace csv2pnp {

struct PlotFileWriter {
    std::ostream* stream;
};

// The text, CR LF and a flush, so that a reader of a half-written file sees whole lines.
// The viewer expects CR LF on every host. Failures stay in the stream's state.
void writeLine(PlotFileWriter& writer, std::string_view text);

}  // namespace csv2pnp
