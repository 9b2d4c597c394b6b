// A data file and an imaginary-part file written into memory through the recording host, for
// checks of the bytes csv2pnp's writers produce.
#pragma once

#include <string>

#include "csv2pnp/plot_file_writer.h"
#include "recording_host.h"

namespace csv2pnp::test {

struct MemoryPlotFiles {
    RecordingHost recorder;
    Host host;
    OpenOutput dataOutput, imaginaryOutput;
    PlotFileWriter data, imaginary;

    MemoryPlotFiles();
    MemoryPlotFiles(const MemoryPlotFiles&) = delete;
    MemoryPlotFiles& operator=(const MemoryPlotFiles&) = delete;

    const std::string& dataBytes() { return recorder.files["data"]; }
    const std::string& imaginaryBytes() { return recorder.files["imaginary"]; }
};

}  // namespace csv2pnp::test
