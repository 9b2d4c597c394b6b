// Writes a realistic analyzer export: offsets log-spaced from 0.1 Hz to 1 MHz, a
// Leeson-shaped phase-noise curve in cell 1 and a floor 10 to 20 dB below it in cell 2.
// With "scattered", each level scatters point to point as a measured sweep does: Gaussian,
// 0.5 dB standard deviation, from a generator with a fixed seed, so that every run writes the
// same file. Levels are printed to 0.01 dB.
// Usage: generate_export ROWS [scattered] > file.csv
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>

namespace {

// A standard normal deviate by Box-Muller from the fully defined 64-bit Mersenne Twister (the
// library's normal_distribution may differ between standard libraries).
struct Scatter {
    std::mt19937_64 bits{20260101};
    double next() {
        const double scale = 1.0 / 18446744073709551616.0;  // 2^-64
        const double u1 = (static_cast<double>(bits()) + 0.5) * scale, u2 = static_cast<double>(bits()) * scale;
        return std::sqrt(-2 * std::log(u1)) * std::cos(2 * 3.14159265358979323846 * u2);
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    long rows = argc > 1 ? std::atol(argv[1]) : 1000000;
    const bool scattered = argc > 2 && std::strcmp(argv[2], "scattered") == 0;
    const double spread = 0.5;  // dB
    Scatter scatter;
    for (long i = 0; i < rows; ++i) {
        double position = rows > 1 ? static_cast<double>(i) / static_cast<double>(rows - 1) : 0;
        double offset = std::pow(10.0, -1 + 7 * position);
        double level = 10 * std::log10(1e-9 / (offset * offset * offset) + 3.16e-13 / offset + 1e-16);
        double floor = level - 10 - 10 * position;
        if (scattered) {
            level += spread * scatter.next();
            floor += spread * scatter.next();
        }
        std::printf("%.6g,%.2f,%.2f\n", offset, level, floor);
    }
    return 0;
}
