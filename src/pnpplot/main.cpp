#include "pnpplot/plot_driver.h"

int main(int argc, char* argv[]) {
    csv2pnp::PlotDriver driver;
    return driver.run(argc, argv);
}
