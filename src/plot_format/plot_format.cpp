#include "plot_format/plot_format.h"

namespace csv2pnp {

std::string outputFileName(const std::string& baseName, std::string_view suffix) {
    return ".\\" + baseName + std::string(suffix);
}

PlotFileNames plotFileNamesFor(const std::string& baseName) {
    return PlotFileNames{baseName, outputFileName(baseName, plotformat::dataFileSuffix),
                         outputFileName(baseName, plotformat::imaginaryFileSuffix)};
}

}  // namespace csv2pnp
