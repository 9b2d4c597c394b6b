#include "figures/power_law_fit.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "figures/noise_figures.h"
#include "numeric/f_distribution.h"
#include "numeric/numeric.h"
#include "numeric/portable_math.h"

namespace csv2pnp {

namespace {

// The terms' columns and the right-hand side's.
constexpr std::size_t columns = powerLawTerms + 1;
using Row = std::array<double, columns>;

// Rows gathered for one Householder step: R's own and this many new ones.
constexpr std::size_t blockRows = 256;
// Rows whose entries pass this are beyond what the squares of the QR hold.
constexpr double largestEntry = 1e100;

// The upper triangle R of [X y] = Q R over the rows folded in so far, by Householder
// reflections on blocks of rows: R stands on top of the block, the new rows under it.
struct Triangle {
    std::vector<Row> rows;  // the first `columns` rows are R
    Triangle() : rows(columns, Row{}) {}
    void add(const Row& row) {
        rows.push_back(row);
        if (rows.size() == columns + blockRows) fold();
    }
    void fold() {
        const std::size_t m = rows.size();
        for (std::size_t k = 0; k < columns; ++k) {
            double norm = 0;
            for (std::size_t r = k; r < m; ++r) norm += rows[r][k] * rows[r][k];
            norm = std::sqrt(norm);
            if (norm == 0) continue;
            const double alpha = rows[k][k] > 0 ? -norm : norm;
            const double head = rows[k][k] - alpha;  // v = (head, rows[k+1..][k])
            const double beta = norm * norm - rows[k][k] * rows[k][k] + head * head;
            for (std::size_t j = k + 1; j < columns; ++j) {
                double dot = head * rows[k][j];
                for (std::size_t r = k + 1; r < m; ++r) dot += rows[r][k] * rows[r][j];
                const double scale = 2 * dot / beta;
                rows[k][j] -= scale * head;
                for (std::size_t r = k + 1; r < m; ++r) rows[r][j] -= scale * rows[r][k];
            }
            rows[k][k] = alpha;
            for (std::size_t r = k + 1; r < m; ++r) rows[r][k] = 0;
        }
        rows.resize(columns);
    }
};

struct SubsetSolution {
    std::array<double, powerLawTerms> c{};       // by term, 0 where left out
    std::array<double, powerLawTerms> spread{};  // by term: the diagonal of (R_S^T R_S)^-1 = (X_S^T W X_S)^-1
    double residual = INFINITY;                  // the root of the weighted sum of squares
    bool feasible = false;                       // every coefficient of the subset above 0
};

// The least squares of the columns in `subset` (a bit per term) against y, from R alone:
// ||X_S c - y|| = ||R_S c - R_y||, solved by its own QR.
SubsetSolution solveSubset(const Triangle& full, unsigned subset) {
    std::array<std::size_t, powerLawTerms> chosen{};
    std::size_t count = 0;
    for (std::size_t i = 0; i < powerLawTerms; ++i) {
        if (subset & (1u << i)) chosen[count++] = i;
    }
    Triangle small;
    for (std::size_t r = 0; r < columns; ++r) {
        Row row{};
        for (std::size_t k = 0; k < count; ++k) row[k] = full.rows[r][chosen[k]];
        row[count] = full.rows[r][powerLawTerms];
        small.add(row);
    }
    small.fold();
    SubsetSolution solution;
    std::array<double, powerLawTerms> c{};
    for (std::size_t k = count; k-- > 0;) {
        double sum = small.rows[k][count];
        for (std::size_t j = k + 1; j < count; ++j) sum -= small.rows[k][j] * c[j];
        if (small.rows[k][k] == 0) return solution;
        c[k] = sum / small.rows[k][k];
        if (!(c[k] > 0)) return solution;
    }
    // The rows of R_S^-1, column by column by back substitution: their squares summed are the
    // diagonal of R_S^-1 R_S^-T.
    std::array<double, powerLawTerms> spread{};
    for (std::size_t j = 0; j < count; ++j) {
        std::array<double, powerLawTerms> column{};
        for (std::size_t k = j + 1; k-- > 0;) {
            double sum = k == j ? 1 : 0;
            for (std::size_t l = k + 1; l <= j; ++l) sum -= small.rows[k][l] * column[l];
            column[k] = sum / small.rows[k][k];
            spread[k] += column[k] * column[k];
        }
    }
    for (std::size_t k = 0; k < count; ++k) {
        solution.c[chosen[k]] = c[k];
        solution.spread[chosen[k]] = spread[k];
    }
    solution.residual = std::fabs(small.rows[count][count]);
    solution.feasible = true;
    return solution;
}

// The non-negative least squares over the allowed terms: of every subset's solution whose
// coefficients are all positive, the one with the smallest residual.
SubsetSolution nonNegative(const Triangle& full, unsigned allowed) {
    SubsetSolution best;
    for (unsigned subset = 1; subset < (1u << powerLawTerms); ++subset) {
        if ((subset & ~allowed) != 0) continue;
        SubsetSolution solution = solveSubset(full, subset);
        if (solution.feasible && solution.residual < best.residual) best = solution;
    }
    return best;
}

unsigned presentTerms(const SubsetSolution& solution) {
    unsigned present = 0;
    for (std::size_t i = 0; i < powerLawTerms; ++i) {
        if (solution.c[i] > 0) present |= 1u << i;
    }
    return present;
}

int termCount(unsigned subset) {
    int count = 0;
    for (; subset != 0; subset &= subset - 1) ++count;
    return count;
}

// Of the present terms, the one whose leaving out raises the weighted sum of squares least,
// the rest fitted again without it, unless the scatter is unlikely to explain that rise:
// F = rise / (S / (n - k)) has a chance of neededBelow or more under F(1, n - k). With no point
// to spare (n = k) nothing shows a term is needed. powerLawTerms where each is needed or one is left.
std::size_t unneeded(const Triangle& triangle, const SubsetSolution& solution, unsigned allowed, std::size_t n) {
    const unsigned present = presentTerms(solution);
    const int k = termCount(present);
    if (k < 2) return powerLawTerms;
    std::size_t weakest = powerLawTerms;
    double smallestRise = INFINITY;
    for (std::size_t i = 0; i < powerLawTerms; ++i) {
        if (!(present & (1u << i))) continue;
        const double without = nonNegative(triangle, allowed & ~(1u << i)).residual;
        const double rise = (without - solution.residual) * (without + solution.residual);
        if (weakest == powerLawTerms || rise < smallestRise) weakest = i, smallestRise = rise;
    }
    const double freedom = static_cast<double>(n) - k;
    if (freedom < 1) return weakest;
    const double scatter = solution.residual * solution.residual / freedom;
    const double chance = fTail(smallestRise / scatter, 1, freedom);
    return chance < neededBelow ? powerLawTerms : weakest;  // a NaN, 0 / 0, is no need shown
}

double powerOf(double x, int n) {
    double p = 1;
    for (int k = 0; k < n; ++k) p *= x;
    return p;
}

// The model's terms at an offset, each as a power ratio; an absent term is 0 also where f^-i
// overflows.
std::array<double, powerLawTerms> termsAt(const std::array<double, powerLawTerms>& b, double f) {
    std::array<double, powerLawTerms> values{};
    const double inverse = 1 / f;
    double power = 1;
    for (std::size_t i = 0; i < powerLawTerms; ++i, power *= inverse) values[i] = b[i] > 0 ? b[i] * power : 0;
    return values;
}

}  // namespace

std::string_view noiseTypeName(int i) {
    switch (i) {
    case 0: return "white PM";
    case 1: return "flicker PM";
    case 2: return "white FM";
    case 3: return "flicker FM";
    case 4: return "random-walk FM";
    }
    return "";
}

std::optional<PowerLawFit> fitPowerLaws(const std::vector<TracePoint>& points, const std::vector<bool>& use,
                                        double from, double to, double carrier) {
    std::vector<std::size_t> fitted;
    double levelSum = 0;
    for (std::size_t p = 0; p < points.size(); ++p) {
        if (use[p] && points[p].offset >= from && points[p].offset <= to && std::isfinite(points[p].level)) {
            fitted.push_back(p);
            levelSum += points[p].level;
        }
    }
    if (fitted.size() < 2) return std::nullopt;
    PowerLawFit fit;
    fit.from = points[fitted.front()].offset;
    fit.to = points[fitted.back()].offset;
    fit.points = fitted.size();
    // The columns scaled to a middle offset and a middle level, so that the entries stay near 1.
    const double middle = std::sqrt(fit.from) * std::sqrt(fit.to);
    const double levelMiddle = levelSum / static_cast<double>(fitted.size());
    // w_p: half the distance in ln f to the neighbours in the trace, the one neighbour at an end.
    auto width = [&](std::size_t p) {
        const std::size_t low = p == 0 ? p : p - 1, high = p + 1 == points.size() ? p : p + 1;
        return logRatio(points[low].offset, points[high].offset) / 2;
    };
    Triangle triangle;
    // The most each column comes to 1 (the trace) over the points: a term's coefficient times
    // it is the most that term comes to the trace.
    std::array<double, powerLawTerms> reach{};
    for (std::size_t p : fitted) {
        const double weight = std::sqrt(width(p));
        const double relative = powerRatio(levelMiddle - points[p].level);  // L_middle / L_p
        const double ratio = middle / points[p].offset;
        Row row{};
        double power = relative * weight;
        for (std::size_t i = 0; i < powerLawTerms; ++i, power *= ratio) row[i] = power;
        row[powerLawTerms] = weight;
        for (double entry : row) {
            if (!(std::fabs(entry) <= largestEntry)) return std::nullopt;
        }
        for (std::size_t i = 0; i < powerLawTerms; ++i) reach[i] = std::max(reach[i], row[i] / weight);
        triangle.add(row);
    }
    triangle.fold();
    // b_i = c_i L_middle middle^i: the coefficient of f^-i in dBc/Hz at 1 Hz.
    const double levelScale = powerRatio(levelMiddle);
    auto coefficients = [&](const SubsetSolution& solution) {
        std::array<double, powerLawTerms> b{};
        for (std::size_t i = 0; i < powerLawTerms; ++i) {
            b[i] = solution.c[i] * levelScale * powerOf(middle, static_cast<int>(i));
        }
        return b;
    };
    unsigned allowed = (1u << powerLawTerms) - 1;
    SubsetSolution solution;
    for (;;) {
        solution = nonNegative(triangle, allowed);
        // The term that stays farthest under the trace goes first, if any is absent.
        std::size_t weakest = powerLawTerms;
        std::array<double, powerLawTerms> closest{};
        for (std::size_t i = 0; i < powerLawTerms; ++i) {
            closest[i] = solution.c[i] * reach[i];
            if (solution.c[i] > 0 && closest[i] < powerRatio(-absentBelow) &&
                (weakest == powerLawTerms || closest[i] < closest[weakest]))
                weakest = i;
        }
        if (weakest == powerLawTerms) weakest = unneeded(triangle, solution, allowed, fitted.size());
        if (weakest == powerLawTerms) break;
        allowed &= ~(1u << weakest);
    }
    const std::array<double, powerLawTerms> b = coefficients(solution);
    // A term whose coefficient at 1 Hz lies beyond a double's range leaves no fit: one that
    // underflows, as from levels far below any noise, or overflows, as f^-4 does from offsets
    // near 1e80 Hz.
    for (std::size_t i = 0; i < powerLawTerms; ++i) {
        if (solution.c[i] > 0 && !std::isnormal(b[i])) return std::nullopt;
    }
    if (std::none_of(b.begin(), b.end(), [](double coefficient) { return coefficient > 0; })) return std::nullopt;
    // The coefficients' covariance (X^T W X)^-1 S / (n - k), each one's sigma in dB of itself.
    const double freedom = static_cast<double>(fitted.size()) - termCount(presentTerms(solution));
    const double variance = solution.residual * solution.residual / freedom;
    constexpr double decibelsPerNeper = 4.3429448190325182765;  // 10 / ln 10
    for (std::size_t i = 0; i < powerLawTerms; ++i) {
        if (!(b[i] > 0)) continue;
        fit.terms.push_back({static_cast<int>(i), b[i], 10 * math::log10(b[i]),
                             carrier > 0 ? 2 * b[i] / (carrier * carrier) : NAN,
                             decibelsPerNeper * std::sqrt(solution.spread[i] * variance) / solution.c[i]});
    }
    // The deviation of the fit from the trace, in dB.
    double squares = 0, weights = 0;
    for (std::size_t p : fitted) {
        const std::array<double, powerLawTerms> terms = termsAt(b, points[p].offset);
        double sum = 0;
        for (double term : terms) sum += term;
        const double error = 10 * math::log10(sum) - points[p].level;
        const double w = width(p);
        fit.maxError = std::max(fit.maxError, std::fabs(error));
        squares += w * error * error;
        weights += w;
    }
    fit.rmsError = weights > 0 ? std::sqrt(squares / weights) : 0;
    for (std::size_t k = 0; k + 1 < fit.terms.size(); ++k) {
        const PowerLawTerm& low = fit.terms[k];
        const PowerLawTerm& high = fit.terms[k + 1];
        // b_low f^-i = b_high f^-j: f = (b_high / b_low)^(1 / (j - i)).
        const double offset = math::exp(logRatio(low.b, high.b) / (high.i - low.i));
        fit.corners.push_back({offset, low.i, high.i, offset >= fit.from && offset <= fit.to});
    }
    std::sort(fit.corners.begin(), fit.corners.end(),
              [](const FitCorner& x, const FitCorner& y) { return x.offset < y.offset; });
    for (int k = static_cast<int>(std::floor(math::log10(fit.from))); powerOfTen(k) < fit.to; ++k) {
        const double low = std::max(fit.from, powerOfTen(k)), high = std::min(fit.to, powerOfTen(k + 1));
        if (!(low < high)) continue;
        const std::array<double, powerLawTerms> terms = termsAt(b, std::sqrt(low) * std::sqrt(high));
        const std::size_t largest =
            static_cast<std::size_t>(std::max_element(terms.begin(), terms.end()) - terms.begin());
        fit.dominant.push_back({low, high, static_cast<int>(largest)});
    }
    return fit;
}

double termAllanVariance(const PowerLawTerm& term, double tau, double fh) {
    const double h = term.h, twoPiTau = 2 * pi * tau;
    switch (term.i) {
    case 0: return 3 * fh * h / (twoPiTau * twoPiTau);
    case 1: return (1.038 + 3 * math::log(twoPiTau * fh)) * h / (twoPiTau * twoPiTau);
    case 2: return h / (2 * tau);
    case 3: return 2 * math::log(2.0) * h;
    case 4: return 2 * pi * pi / 3 * tau * h;
    }
    return NAN;
}

}  // namespace csv2pnp
