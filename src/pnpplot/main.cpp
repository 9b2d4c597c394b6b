#include <iostream>

#include "pnpplot/plot_driver.h"

int main(int argc, char* argv[]) { return csv2pnp::runPnpplot(argc, argv, std::cout, std::cerr); }
