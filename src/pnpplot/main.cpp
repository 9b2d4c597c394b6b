#include "platform/platform.h"
#include "pnpplot/plot_driver.h"

int main(int argc, char* argv[]) {
    // The summary writes units such as "dB rad²/Hz" and the fit's "±" in UTF-8.
    const unsigned int console = csv2pnp::showUtf8OnConsole();
    csv2pnp::PlotDriver driver;
    const int status = driver.run(argc, argv);
    csv2pnp::restoreConsole(console);
    return status;
}
