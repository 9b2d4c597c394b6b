#include "memory_plot_files.h"

namespace csv2pnp::test {

namespace {

OpenOutput created(const Host& host, const std::string& path) { return *createOutput(host, path).value; }

}  // namespace

MemoryPlotFiles::MemoryPlotFiles()
    : recorder{},
      host((recorder.inMemory = true, recorder.seam())),
      dataOutput(created(host, "data")),
      imaginaryOutput(created(host, "imaginary")),
      data(plotFileWriter(dataOutput)),
      imaginary(plotFileWriter(imaginaryOutput)) {}

}  // namespace csv2pnp::test
