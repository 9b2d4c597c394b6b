// Everything pnpplot says of the traces, computed once as plain data: the text summary, the
// JSON summary and the HTML report print it, the chart draws from it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

#include "figures/allan_deviation.h"
#include "figures/floor_margin.h"
#include "figures/limit_mask.h"
#include "figures/noise_figures.h"
#include "figures/spurs.h"
#include "traces/trace.h"

namespace csv2pnp {

enum class CarrierSource {
    carRecord,      // the file's CAR record
    commandLine,    // -c
    exportDefault,  // csv2pnp's default, assumed for an export
    noRecord,       // csv2pnp's default, assumed for a plot file without a CAR record
};

// The carrier a trace is summed up for, and where it comes from.
struct CarrierChoice {
    double hertz;
    CarrierSource source;
    std::optional<double> normalisedFrom;  // Hz: the carrier before -n
    bool assumed() const { return source == CarrierSource::exportDefault || source == CarrierSource::noRecord; }
};

// -c wins over the file's CAR record; without either csv2pnp's default is assumed.
CarrierChoice chooseCarrier(const Trace& trace, std::optional<double> commandLine);

struct AnalysisOptions {
    std::optional<double> carrier;      // -c, Hz
    std::optional<double> normaliseTo;  // -n, Hz
    std::optional<OffsetBand> band;     // -r
    double spurThreshold = defaultSpurThreshold;
    bool omitSpurs = false;
    double marginThreshold = defaultMarginThreshold;
    bool subtractFloor = false;
    const LimitMask* mask = nullptr;
    std::string maskFile;
    std::optional<double> smoothing;  // decades: the drawn levels and the spot noise only
    bool allanDeviation = false;      // --adev
};

struct SpotLevel {
    double offset;  // Hz, a whole decade
    double level;   // dBc/Hz
};

struct BandFigures {
    NoiseIntegral integral;         // over the band clipped to the trace
    bool clipped;                   // the band asked for reaches beyond the trace
    bool spursOmitted;              // on the trace with its spurs on their clean lines
    bool floorSubtracted;           // on the trace with the floor's power taken out
    std::size_t pointsBelowMargin;  // points in the band less than the margin above the floor
    NoiseFigures figures;
};

struct SpurFigures {
    Spur spur;
    std::optional<double> jitter;  // s; nothing for a carrier of 0
    bool inBand;                   // its highest point lies in the band integrated
};

struct MaskFigures {
    std::string file;
    MaskVerdict verdict;
};

struct TraceAnalysis {
    const Trace* trace;  // its points as analysed and drawn: normalised, floor subtracted
    CarrierChoice carrier;
    double firstOffset, lastOffset;
    std::vector<SpotLevel> spotNoise;        // at each decade inside the band and the trace, smoothed with smoothing
    std::optional<double> smoothing;         // decades
    std::vector<TracePoint> smoothedPoints;  // the levels drawn with smoothing
    std::vector<TracePoint> spurFreePoints;  // the levels integrated when spurs were omitted
    OffsetBand band;                         // asked for: -r, or the whole trace
    bool bandGiven;                          // by -r
    std::optional<BandFigures> integration;  // nothing when the band and the trace share no width
    double spurThreshold;
    std::vector<SpurFigures> spurs;          // phase-noise traces only
    std::optional<double> spursJitter;       // s: of the spurs in the band together
    std::optional<FloorMargin> floorMargin;  // for a phase-noise trace with a floor
    std::size_t belowFloor = 0;              // points left out at or below the floor
    std::optional<MaskFigures> mask;         // phase-noise traces, with -m
    bool allanAsked = false;                 // a phase-noise trace, with --adev
    std::vector<AllanPoint> allan;           // from the figures' points at the analysed carrier
};

// Something that looks wrong in an input, for the user to hear about.
struct Warning {
    std::string source;
    std::string text;
};

struct Analyses {
    std::vector<TraceAnalysis> traces;  // in the order of the traces, those left with points
    std::vector<Warning> warnings;
    bool emptied = false;  // a trace lost every point to the floor subtraction
};

// Takes each trace's carrier, offsets from -c where a plot file names none, and -n, then
// works out per trace what the summary says. Each phase-noise trace is paired with the floor
// of the same input. The traces are changed in place where the options ask for it.
Analyses analyseTraces(std::vector<Trace>& traces, const AnalysisOptions& options);

// The levels a chart draws: smoothed, or the trace's own.
const std::vector<TracePoint>& drawnPoints(const TraceAnalysis& analysis);
// The levels the figures come from: with the spurs on their clean lines, or the trace's own.
const std::vector<TracePoint>& figurePoints(const TraceAnalysis& analysis);

// The same for one trace alone, taken as it is.
TraceAnalysis analyseTrace(const Trace& trace, CarrierChoice carrier, std::optional<OffsetBand> band);

}  // namespace csv2pnp
