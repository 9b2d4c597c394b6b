#include <cmath>
#include <cstdint>
#include <cstring>
#include <random>

#include <gtest/gtest.h>

#include "numeric/portable_math.h"

namespace csv2pnp {
namespace {

// How many doubles lie between two values.
double ulpsBetween(double a, double b) {
    if (a == b) return 0;
    if (!std::isfinite(a) || !std::isfinite(b) || std::signbit(a) != std::signbit(b)) return INFINITY;
    std::int64_t x, y;
    std::memcpy(&x, &a, sizeof x);
    std::memcpy(&y, &b, sizeof y);
    return static_cast<double>(x > y ? x - y : y - x);
}

#ifdef _WIN32
constexpr double largestTrigonometric = 1e3;
#else
constexpr double largestTrigonometric = 1e8;
#endif

// Each function against the long double one of the host over the arguments the figures and
// the chart give it, within a few units in the last place.
TEST(PortableMath, WithinAFewUnitsInTheLastPlace) {
    std::mt19937_64 random(20261209);
    auto uniform = [&](double low, double high) { return std::uniform_real_distribution<double>(low, high)(random); };
    const struct {
        const char* name;
        double (*ours)(double);
        long double (*exact)(long double);
        double low, high;  // the arguments, or their decimal exponents when logarithmic
        bool logarithmic;
    } cases[] = {
        {"exp", math::exp, [](long double x) { return std::exp(x); }, -740, 709, false},
        {"expm1", math::expm1, [](long double x) { return std::expm1(x); }, -1, 1, false},
        {"expm1 small", math::expm1, [](long double x) { return std::expm1(x); }, -300, -1, true},
        {"log", math::log, [](long double x) { return std::log(x); }, -320, 308, true},
        {"log1p", math::log1p, [](long double x) { return std::log1p(x); }, -0.999, 100, false},
        {"log1p small", math::log1p, [](long double x) { return std::log1p(x); }, -300, -1, true},
        {"log10", math::log10, [](long double x) { return std::log10(x); }, -300, 300, true},
        {"exp10", math::exp10, [](long double x) { return std::pow(10.0L, x); }, -300, 300, false},
        // The Windows C library's long double sine reduces large arguments with too short a pi.
        {"sin", math::sin, [](long double x) { return std::sin(x); }, -largestTrigonometric, largestTrigonometric,
         false},
        {"cos", math::cos, [](long double x) { return std::cos(x); }, -largestTrigonometric, largestTrigonometric,
         false},
    };
    for (const auto& c : cases) {
        double worst = 0;
        for (int i = 0; i < 100000; ++i) {
            double x = c.logarithmic ? std::pow(10.0, uniform(c.low, c.high)) : uniform(c.low, c.high);
            if (c.logarithmic && c.name[std::strlen(c.name) - 1] == 'l' && random() % 2) x = -x;  // "small": both signs
            double exact = static_cast<double>(c.exact(x));
            // sin and cos near their zeros are judged against the size of the result's neighbourhood.
            double ulps = ulpsBetween(c.ours(x), exact);
            if (c.name[0] == 's' || c.name[0] == 'c') ulps = std::fabs(c.ours(x) - exact) / 0x1p-53;
            worst = std::max(worst, ulps);
        }
        EXPECT_LE(worst, 4) << c.name;
    }
    EXPECT_EQ(math::exp(0), 1);
    EXPECT_EQ(math::log(1), 0);
    EXPECT_EQ(math::log1p(0), 0);
    EXPECT_EQ(math::sin(0), 0);
    EXPECT_EQ(math::cos(0), 1);
    EXPECT_TRUE(std::isinf(math::exp(710)) && math::exp(-746) == 0 && std::isnan(math::log(-1)));
    EXPECT_EQ(math::log(0), -INFINITY);
    EXPECT_GT(math::exp(709.78), 1.7e308);
}

}  // namespace
}  // namespace csv2pnp
