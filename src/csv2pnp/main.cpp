#include "csv2pnp/conversion_driver.h"

int main(int argc, char* argv[]) {
    csv2pnp::ConversionDriver driver;
    return driver.run(argc, argv);
}
