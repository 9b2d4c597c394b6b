#include "plot_runs.h"

#include <sstream>

#include "pnpplot/plot_driver.h"

namespace csv2pnp::test {

ToolRun runPlotDriver(std::vector<std::string> arguments, const FileSystem& files) {
    arguments.insert(arguments.begin(), "pnpplot");
    std::vector<const char*> argv;
    for (const std::string& argument : arguments) argv.push_back(argument.c_str());
    std::ostringstream out, err;
    PlotDriver driver;
    driver.out = &out;
    driver.err = &err;
    driver.files = files;
    int status = driver.run(static_cast<int>(argv.size()), argv.data());
    return ToolRun{status, out.str(), err.str()};
}

ToolRun runPnpplot(const std::string& arguments) { return runProgram(PNPPLOT_EXE, arguments); }

}  // namespace csv2pnp::test
