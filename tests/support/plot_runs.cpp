#include "plot_runs.h"

#include <sstream>

#include "pnpplot/plot_driver.h"

namespace csv2pnp::test {

ToolRun runPlotDriver(std::vector<std::string> arguments, const Host& host) {
    ArgumentVector argv("pnpplot", std::move(arguments));
    std::ostringstream out, err;
    PlotDriver driver;
    driver.out = &out;
    driver.err = &err;
    driver.host = host;
    int status = driver.run(argv.count(), argv.values());
    return ToolRun{status, out.str(), err.str()};
}

ToolRun runPnpplot(const std::string& arguments) { return runProgram(PNPPLOT_EXE, arguments); }

}  // namespace csv2pnp::test
