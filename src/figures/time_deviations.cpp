#include "figures/time_deviations.h"

#include <cmath>

#include "figures/kernel_integral.h"
#include "numeric/numeric.h"
#include "numeric/portable_math.h"

namespace csv2pnp {

namespace {

// A figure whose integral and scale both pass a double's range overflows: it is not lost.
double orOverflow(double figure) { return std::isnan(figure) ? INFINITY : figure; }

// sigma_y^2 = 4 / (pi tau carrier)^2 times the integral of L sin^4(pi tau f), as
// S_y / (pi tau f)^2 = 2 L / (pi tau carrier)^2.
double allanFrom(double integral, double tau, double carrier) {
    const double scale = pi * tau * carrier;
    return orOverflow(std::sqrt(4 * integral / (scale * scale)));
}

// Mod sigma_y^2 = 4 / (carrier^2 (pi tau)^4) times the integral of L f^-2 sin^6(pi tau f).
double modifiedFrom(double integral, double tau, double carrier) {
    const double omega = pi * tau;
    return orOverflow(std::sqrt(4 * integral / (carrier * carrier) / ((omega * omega) * (omega * omega))));
}

}  // namespace

std::vector<double> deviationTaus(double firstOffset, double lastOffset, bool threePerDecade) {
    std::vector<double> taus;
    if (!(firstOffset > 0) || !(lastOffset > firstOffset)) return taus;
    int k = static_cast<int>(std::floor(math::log10(10 / lastOffset))) - 1;
    // Offsets read from text are the doubles nearest their digits: a part in 1e12 either way
    // still counts as on the decade.
    constexpr double slack = 1e-12;
    for (; k <= 310; ++k) {
        // tau = 10^k, 2 10^k, 5 10^k, each the double nearest, and 1/tau likewise.
        const double decade = powerOfTen(k), rate = powerOfTen(-k);
        const double candidates[3][2] = {
            {decade, rate}, {2 * decade, rate / 2}, {powerOfTen(k + 1) / 2, 2 * powerOfTen(-k - 1)}};
        for (int m = 0; m < (threePerDecade ? 3 : 1); ++m) {
            const double tau = candidates[m][0], inverse = candidates[m][1];
            if (inverse < 10 * firstOffset * (1 - slack)) return taus;
            if (inverse <= lastOffset / 10 * (1 + slack)) taus.push_back(tau);
        }
    }
    return taus;
}

TimeDeviations timeDeviations(const std::vector<TracePoint>& points, double carrier, const DeviationsAsked& asked,
                              const std::vector<PhaseTone>& tones) {
    TimeDeviations result;
    result.asked = asked;
    if (points.size() < 2 || !(carrier > 0) || !(asked.allan || asked.modified || asked.time)) return result;
    const std::vector<double> taus = deviationTaus(points.front().offset, points.back().offset, asked.threePerDecade);
    std::vector<double> omegas;
    for (double tau : taus) omegas.push_back(pi * tau);
    KernelIntegrals integrals = kernelIntegrals(points, omegas, asked.allan, asked.modified || asked.time);
    // A tone is L(f) = P delta(f - f_m): it adds P sin^4(omega f_m) and P f_m^-2 sin^6(omega f_m).
    for (const PhaseTone& tone : tones) {
        for (std::size_t t = 0; t < taus.size(); ++t) {
            const double sine = math::sin(omegas[t] * tone.offset), square = sine * sine;
            if (asked.allan) integrals.sine4[t] += tone.power * square * square;
            if (!integrals.sine6.empty()) {
                integrals.sine6[t] += tone.power / (tone.offset * tone.offset) * square * square * square;
            }
        }
    }
    for (std::size_t t = 0; t < taus.size(); ++t) {
        const double tau = taus[t];
        if (asked.allan) result.allan.push_back({tau, allanFrom(integrals.sine4[t], tau, carrier)});
        if (!asked.modified && !asked.time) continue;
        const double modified = modifiedFrom(integrals.sine6[t], tau, carrier);
        if (asked.modified) result.modified.push_back({tau, modified});
        if (asked.time) result.time.push_back({tau, tau / std::sqrt(3.0) * modified});
    }
    return result;
}

double allanDeviation(const std::vector<TracePoint>& points, double carrier, double tau) {
    return allanFrom(kernelIntegrals(points, {pi * tau}, true, false).sine4.front(), tau, carrier);
}

double modifiedAllanDeviation(const std::vector<TracePoint>& points, double carrier, double tau) {
    return modifiedFrom(kernelIntegrals(points, {pi * tau}, false, true).sine6.front(), tau, carrier);
}

}  // namespace csv2pnp
