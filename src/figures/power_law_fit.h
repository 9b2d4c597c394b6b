// What kind of noise a phase-noise trace is: L(f) = sum over i = 0..4 of b_i f^-i, white PM
// (f^0), flicker PM (f^-1), white FM (f^-2), flicker FM (f^-3) and random-walk FM (f^-4),
// fitted with b_i >= 0, with its corners and the Allan deviation each term implies.
#pragma once

#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "traces/trace.h"

namespace csv2pnp {

inline constexpr int powerLawTerms = 5;  // i = 0..4
// A term that comes no closer than this to the trace anywhere in the fit is absent.
inline constexpr double absentBelow = 10;  // dB
// A term is needed where the chance that the scatter alone lowers the error as much as it does
// is below this.
inline constexpr double neededBelow = 0.01;

// "white PM", "flicker PM", "white FM", "flicker FM", "random-walk FM" for i = 0..4.
std::string_view noiseTypeName(int i);

struct PowerLawTerm {
    int i;                  // L falls 10 i dB a decade; S_y(f) = h f^alpha with alpha = 2 - i
    double b;               // the power ratio per Hz at 1 Hz
    double level1Hz;        // 10 log10 b, dBc/Hz
    double h;               // h_alpha = 2 b / carrier^2; not a number for a carrier of 0
    double levelSigma = 0;  // dB: the standard uncertainty of level1Hz from the fit's covariance
};

struct FitCorner {
    double offset;           // Hz, where the two terms are equal
    int shallower, steeper;  // their i
    bool inside;             // within the fitted offsets
};

// A decade of the fitted offsets (clipped to them) and the term largest at its middle, the
// geometric mean of its ends.
struct DominantTerm {
    double from, to;
    int i;
};

struct PowerLawFit {
    double from = 0, to = 0;          // Hz: the offsets fitted
    std::size_t points = 0;           // the points fitted: neither spurs nor below the margin
    std::vector<PowerLawTerm> terms;  // the present terms, by rising i
    std::vector<FitCorner> corners;   // between neighbouring present terms, by rising offset
    std::vector<DominantTerm> dominant;
    double maxError = 0, rmsError = 0;  // dB: of 10 log10(fit / trace) over the points fitted,
                                        // the RMS weighted by each point's width in log f
};

// Fits the points whose use is true and whose offsets lie in from..to. Least squares on the
// relative error sum of w_p (fit(f_p) / L_p - 1)^2, w_p the point's width in log f (half the
// distance to its neighbours), so that every decade counts alike; the coefficients by the
// exact non-negative solution (every subset of terms solved by QR, the best one whose
// coefficients are all positive); a term that stays more than absentBelow under the trace at
// every point fitted is dropped and the rest fitted again, and then, one at a time, the term
// whose leaving out raises the weighted sum of squares S least while the F-test says the
// scatter explains that rise: F = rise / (S / (n - k)), n points and k terms, at a chance of
// neededBelow or more under F(1, n - k). Each term's sigma is from the covariance
// (X^T W X)^-1 S / (n - k). Nothing with fewer than two points, or with levels, or
// coefficients at 1 Hz, beyond a double's range.
std::optional<PowerLawFit> fitPowerLaws(const std::vector<TracePoint>& points, const std::vector<bool>& use,
                                        double from, double to, double carrier);

// The Allan variance a term implies at tau, by NIST SP 1065's relations for S_y = h f^alpha:
// white PM 3 f_h h / (4 pi^2 tau^2), flicker PM (1.038 + 3 ln(2 pi f_h tau)) h / (4 pi^2 tau^2),
// white FM h / (2 tau), flicker FM 2 ln 2 h, random-walk FM 2 pi^2 / 3 tau h; f_h, the
// bandwidth the phase terms need, in Hz.
double termAllanVariance(const PowerLawTerm& term, double tau, double fh);

}  // namespace csv2pnp
