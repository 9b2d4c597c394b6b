// Everything pnpplot says of the traces, computed once as plain data: the text summary, the
// JSON summary and the HTML report print it, the chart draws from it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "figures/allan_deviation.h"
#include "figures/floor_margin.h"
#include "figures/limit_mask.h"
#include "figures/noise_figures.h"
#include "figures/spurs.h"
#include "problems/problem.h"
#include "traces/trace.h"

namespace csv2pnp {

enum class CarrierSource {
    carRecord,      // the file's CAR record
    commandLine,    // -c
    exportDefault,  // csv2pnp's default, assumed for an export
    noRecord,       // csv2pnp's default, assumed for a plot file without a CAR record
};

// Where a carrier comes from, in the words of the text summary and of the JSON.
struct CarrierSourceWords {
    std::string_view summary;  // "default for a CSV export"
    std::string_view json;     // "default"
};
CarrierSourceWords carrierSourceWords(CarrierSource source);

// The carrier a trace is summed up for, and where it comes from.
struct CarrierChoice {
    double hertz = 0;
    CarrierSource source = CarrierSource::exportDefault;
    std::optional<double> normalisedFrom;  // Hz: the carrier before -n
    bool assumed() const { return source == CarrierSource::exportDefault || source == CarrierSource::noRecord; }
};

// -c wins over the file's CAR record; without either csv2pnp's default is assumed.
CarrierChoice chooseCarrier(const Trace& trace, std::optional<double> commandLine);

// What the command line asks of the analysis. The defaults stand here, once.
struct AnalysisOptions {
    std::optional<double> carrier;      // -c, Hz
    std::optional<double> normaliseTo;  // -n, Hz
    std::optional<OffsetBand> band;     // -r
    double spurThreshold = defaultSpurThreshold;
    bool omitSpurs = false;
    double marginThreshold = defaultMarginThreshold;
    bool subtractFloor = false;
    std::optional<double> smoothing;  // decades: the drawn levels and the spot noise only
    bool allanDeviation = false;      // --adev
};

struct SpotLevel {
    double offset;  // Hz, a whole decade
    double level;   // dBc/Hz
};

struct BandFigures {
    NoiseIntegral integral;             // over the band clipped to the trace
    bool clipped = false;               // the band asked for reaches beyond the trace
    bool spursOmitted = false;          // on the trace with its spurs on their clean lines
    bool floorSubtracted = false;       // on the trace with the floor's power taken out
    std::size_t pointsBelowMargin = 0;  // points in the band less than the margin above the floor
    NoiseFigures figures;
};

struct SpurFigures {
    Spur spur;
    std::optional<double> jitter;  // s; nothing for a carrier of 0
    bool inBand = false;           // its highest point lies in the band integrated
};

struct MaskFigures {
    std::string file;
    MaskVerdict verdict;
};

// The levels drawn with --smooth, and over how many decades.
struct SmoothedLevels {
    double decades;
    std::vector<TracePoint> points;
};

struct TraceAnalysis {
    const Trace* trace = nullptr;  // its points as analysed and drawn: normalised, floor subtracted
    CarrierChoice carrier;
    double firstOffset = 0, lastOffset = 0;
    OffsetBand band{};                                // asked for: -r, or the whole trace
    bool bandGiven = false;                           // by -r
    std::vector<SpotLevel> spotNoise;                 // at each decade inside the band and the trace
    std::optional<SmoothedLevels> smoothed;           // with --smooth; the spot noise is then smoothed too
    std::optional<std::vector<TracePoint>> spurFree;  // the levels integrated when spurs were omitted
    std::optional<BandFigures> integration;           // nothing when the band and the trace share no width
    double spurThreshold = defaultSpurThreshold;
    std::vector<SpurFigures> spurs;                // phase-noise traces only
    std::optional<double> spursJitter;             // s: of the spurs in the band together
    std::optional<FloorMargin> floorMargin;        // for a phase-noise trace with a floor
    std::size_t belowFloor = 0;                    // points left out at or below the floor
    std::optional<MaskFigures> mask;               // phase-noise traces, with -m
    std::optional<std::vector<AllanPoint>> allan;  // phase-noise traces, with --adev
};

struct Analyses {
    std::vector<TraceAnalysis> traces;  // in the order of the traces, those left with points
    std::vector<Warning> warnings;
    bool emptied = false;  // a trace lost every point to the floor subtraction
};

// The steps of analyseTraces, each of its own.

// Each trace's carrier: a plot file without a CAR record takes its offsets from -c, and -n
// moves every level to the carrier it names.
std::vector<CarrierChoice> settleCarriers(std::vector<Trace>& traces, const AnalysisOptions& options,
                                          std::vector<Warning>& warnings);

// Per trace, the margin above the floor of the same input, while every floor is still as
// measured; nothing for a floor or a trace without one.
std::vector<std::optional<FloorMargin>> floorMargins(const std::vector<Trace>& traces, double threshold);

// With --subtract-floor: each trace with a margin corrected; returns how many points each
// lost at or below its floor.
std::vector<std::size_t> subtractFloors(std::vector<Trace>& traces,
                                        const std::vector<std::optional<FloorMargin>>& margins,
                                        std::vector<Warning>& warnings, bool& emptied);

// The spot noise and the figures over the band (or the whole trace) from the given points.
TraceAnalysis analyseTrace(const Trace& trace, CarrierChoice carrier, std::optional<OffsetBand> band,
                           const std::vector<TracePoint>& figurePoints);

// Takes each trace's carrier, offsets from -c where a plot file names none, and -n, then
// works out per trace what the summary says. Each phase-noise trace is paired with the floor
// of the same input. The traces are changed in place where the options ask for it.
Analyses analyseTraces(std::vector<Trace>& traces, const AnalysisOptions& options, const LimitMask* mask);

// The levels a chart draws: smoothed, or the trace's own.
const std::vector<TracePoint>& drawnPoints(const TraceAnalysis& analysis);
// The levels the figures come from: with the spurs on their clean lines, or the trace's own.
const std::vector<TracePoint>& figurePoints(const TraceAnalysis& analysis);

}  // namespace csv2pnp
