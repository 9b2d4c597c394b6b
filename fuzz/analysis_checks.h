// What the fuzz targets that analyse traces hold of every analysis, whatever the input.
#pragma once

#include <cmath>
#include <cstdlib>
#include <vector>

#include <string>

#include "analysis/trace_analysis.h"
#include "traces/trace_reader.h"

namespace fuzzing {

inline void require(bool condition) {
    if (!condition) std::abort();
}

// The traces read from the input, or none; a read either gives traces, each with points, or a
// problem. Each trace keeps at most its first maxPoints points (and its last), so that every
// input stays cheap: the reader has seen the whole input, and the analysis of a few points
// reaches every branch that many would.
inline std::vector<csv2pnp::Trace> boundedTraces(const std::string& bytes, std::size_t maxPoints = 12) {
    csv2pnp::Result<std::vector<csv2pnp::Trace>> read = csv2pnp::readTraces(bytes, "fuzz\xff.csv");
    require(read.value.has_value() != read.problem.has_value());
    if (!read) return {};
    for (csv2pnp::Trace& trace : *read.value) {
        require(!trace.points.empty());
        if (trace.points.size() > maxPoints) {
            csv2pnp::TracePoint last = trace.points.back();
            trace.points.resize(maxPoints - 1);
            trace.points.push_back(last);
        }
    }
    return std::move(*read.value);
}

// Variant 0 takes the options as they come; variant 1 every option that changes the traces.
inline csv2pnp::AnalysisOptions analysisOptions(int variant) {
    csv2pnp::AnalysisOptions options;
    if (variant == 1) {
        options.normaliseTo = 1e9;
        options.band = csv2pnp::OffsetBand{1, 1e6};
        options.spurs = static_cast<csv2pnp::SpurTreatment>(1 + variant % 2);
        options.subtractFloor = true;
        options.spurThreshold = 3;
        options.smoothing = 0.3;
    }
    return options;
}

// The traces as read, with variant 1's carrier given for each input, as -c gives it.
inline std::vector<csv2pnp::Trace> withCarrier(std::vector<csv2pnp::Trace> traces, int variant) {
    if (variant == 1) {
        for (csv2pnp::Trace& trace : traces) trace.carrierGiven = 5;
    }
    return traces;
}

// The deviations are numbers. A trace of the fuzzer's may span hundreds of decades, so hundreds
// of tau, and a segment hundreds of dB steep, whose integral takes thousands of pieces at each
// tau: one tau, on the first two points and the last one, and one kind stand for them, taken by
// turns: the shortest or the longest tau (turn % 2), the Allan deviation or the modified one and
// the time deviation (turn / 2 % 2).
inline csv2pnp::TimeDeviations checkedDeviations(const std::vector<csv2pnp::TracePoint>& points, double carrier,
                                                 bool threePerDecade, std::size_t turn) {
    const bool allan = turn / 2 % 2 == 0;
    csv2pnp::TimeDeviations result;
    result.asked = {allan, !allan, !allan, threePerDecade};
    std::vector<csv2pnp::TracePoint> few(
        points.begin(), points.begin() + static_cast<std::ptrdiff_t>(std::min<std::size_t>(points.size(), 2)));
    if (few.back().offset != points.back().offset) few.push_back(points.back());
    const std::vector<double> taus = csv2pnp::deviationTaus(few.front().offset, few.back().offset, threePerDecade);
    if (taus.empty()) return result;
    const double tau = turn % 2 ? taus.back() : taus.front();
    if (allan) {
        const double deviation = csv2pnp::allanDeviation(few, carrier, tau);
        require(!std::isnan(deviation) && deviation >= 0);
        result.allan.push_back({tau, deviation});
    } else {
        const double modified = csv2pnp::modifiedAllanDeviation(few, carrier, tau);
        require(!std::isnan(modified) && modified >= 0);
        result.modified.push_back({tau, modified});
        result.time.push_back({tau, tau / std::sqrt(3.0) * modified});
    }
    return result;
}

// Settled points, figures that are numbers wherever the levels are, spurs as defined.
inline void checkAnalysis(const csv2pnp::TraceAnalysis& analysis) {
    const std::vector<csv2pnp::TracePoint>& points = analysis.trace->points;
    require(!points.empty());
    for (std::size_t i = 0; i < points.size(); ++i) {
        require(points[i].offset > 0 && std::isfinite(points[i].offset));
        if (i > 0) require(points[i - 1].offset < points[i].offset);
    }
    if (analysis.integration) {
        const csv2pnp::NoiseIntegral& integral = analysis.integration->integral;
        require(integral.from >= points.front().offset && integral.to <= points.back().offset);
        require(!std::isnan(integral.phaseArea) && integral.phaseArea >= 0);
        require(!std::isnan(integral.frequencyArea) && integral.frequencyArea >= 0);
    }
    for (const csv2pnp::SpurFigures& spur : analysis.spurs) {
        require(points[spur.spur.last].offset / points[spur.spur.first].offset <= csv2pnp::widestSpurRatio &&
                spur.spur.power > 0);
    }
}

// The power-law fit of a phase-noise trace, as --fit fits no other: positive coefficients by
// rising power, corners where neighbours meet, errors that are numbers. Fitted here rather
// than with --fit, whose Allan deviation beside it would take hundreds of tau on the fuzzer's
// traces. A fit solves up to 155 least squares (31 sets of terms, up to five rounds) however
// few the points, most of the work of an input: a fuzzer that analyses a trace twice fits it
// once.
inline void checkFit(const csv2pnp::TraceAnalysis& analysis) {
    if (!csv2pnp::isPhaseNoise(*analysis.trace)) return;
    const std::vector<csv2pnp::TracePoint>& points = analysis.trace->points;
    const std::optional<csv2pnp::PowerLawFit> fitted =
        csv2pnp::fitPowerLaws(points, std::vector<bool>(points.size(), true), 0, INFINITY, 1e7);
    if (fitted) {
        const csv2pnp::PowerLawFit& fit = *fitted;
        for (std::size_t k = 0; k < fit.terms.size(); ++k) {
            require(fit.terms[k].b > 0 && (k == 0 || fit.terms[k - 1].i < fit.terms[k].i));
        }
        require(fit.corners.size() + 1 == std::max<std::size_t>(fit.terms.size(), 1));
        require(!std::isnan(fit.maxError) && fit.maxError >= 0 && !std::isnan(fit.rmsError));
    }
}

}  // namespace fuzzing
