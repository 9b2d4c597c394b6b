#include "conversion_runs.h"

#include <sstream>

#include "csv2pnp/conversion_driver.h"
#include "recording_host.h"

namespace csv2pnp::test {

ToolRun runDriver(std::vector<std::string> arguments, const Host& host) {
    ArgumentVector argv("csv2pnp", std::move(arguments));
    std::ostringstream out, err;
    ConversionDriver driver;
    driver.out = &out;
    driver.err = &err;
    driver.host = host;
    int status = driver.run(argv.count(), argv.values());
    return ToolRun{status, out.str(), err.str()};
}

ToolRun runDriver(std::vector<std::string> arguments) {
    RecordingHost host;
    return runDriver(std::move(arguments), host.seam());
}

std::string bannerLine() { return std::string(plotformat::banner) + "\n"; }

std::string convertedMessages(const std::string& path, const std::string& baseName, std::size_t rows) {
    PlotFileNames names = plotFileNamesFor(baseName);
    return "Read file = " + path + " (" + std::to_string(rows) +
           " rows)\nWrite PN data to PNP-file = " + names.dataFileName +
           "\nWrite PN floor data to PNP-file = " + names.imaginaryFileName + "\n";
}

}  // namespace csv2pnp::test
