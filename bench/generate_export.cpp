// Writes a realistic analyzer export: offsets log-spaced from 0.1 Hz to 1 MHz, a
// Leeson-shaped phase-noise curve in cell 1 and a floor 10 to 20 dB below it in cell 2.
// Usage: generate_export ROWS > file.csv
#include <cmath>
#include <cstdio>
#include <cstdlib>

int main(int argc, char* argv[]) {
    long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
    for (long i = 0; i < rows; ++i) {
        double position = rows > 1 ? static_cast<double>(i) / static_cast<double>(rows - 1) : 0;
        double offset = std::pow(10.0, -1 + 7 * position);
        double level = 10 * std::log10(1e-9 / (offset * offset * offset) + 3.16e-13 / offset + 1e-16);
        double floor = level - 10 - 10 * position;
        std::printf("%.6g,%.2f,%.2f\n", offset, level, floor);
    }
    return 0;
}
