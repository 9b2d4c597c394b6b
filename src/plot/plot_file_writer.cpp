#include "plot/plot_file_writer.h"

#include <streambuf>

namespace csv2pnp {

void writeLine(PlotFileWriter& writer, std::string_view text) {
    // Straight to the buffer: the stream's sentries cost more than the line on long traces.
    std::streambuf* buffer = writer.stream->rdbuf();
    auto length = static_cast<std::streamsize>(text.size());
    bool written = buffer->sputn(text.data(), length) == length && buffer->sputn("\r\n", 2) == 2 &&
                   buffer->pubsync() == 0;
    if (!written) writer.stream->setstate(std::ios::badbit);
}

}  // namespace csv2pnp
