#include "plot/plot_file_writer.h"

namespace csv2pnp {

void writeLine(PlotFileWriter& writer, std::string_view text) {
    writer.stream->write(text.data(), static_cast<std::streamsize>(text.size()));
    writer.stream->write("\r\n", 2);
    writer.stream->flush();
}

}  // namespace csv2pnp
