#include "conversion_runs.h"

#include <sstream>

#include "csv2pnp/conversion_driver.h"
#include "fixed_clock.h"

namespace csv2pnp::test {

ToolRun runDriver(std::vector<std::string> arguments, const FileSystem& files) {
    ArgumentVector argv("csv2pnp", std::move(arguments));
    std::ostringstream out, err;
    ConversionDriver driver;
    driver.out = &out;
    driver.err = &err;
    driver.clock = fixedClock;
    driver.files = files;
    int status = driver.run(argv.count(), argv.values());
    return ToolRun{status, out.str(), err.str()};
}

std::string bannerLine() { return std::string(plotformat::banner) + "\n"; }

std::string convertedMessages(const std::string& path, const std::string& baseName, std::size_t rows) {
    PlotFileNames names = plotFileNamesFor(baseName);
    return "Read file = " + path + " (" + std::to_string(rows) +
           " rows)\nWrite PN data to PNP-file = " + names.dataFileName +
           "\nWrite PN floor data to PNP-file = " + names.imaginaryFileName + "\n";
}

}  // namespace csv2pnp::test
