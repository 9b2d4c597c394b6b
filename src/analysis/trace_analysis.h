// Everything pnpplot says of the traces, computed once as plain data: the text summary, the
// JSON summary and the HTML report print it, the chart draws from it.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "figures/comparisons.h"
#include "figures/densities.h"
#include "figures/floor_margin.h"
#include "figures/limit_mask.h"
#include "figures/noise_figures.h"
#include "figures/power_law_fit.h"
#include "figures/spurs.h"
#include "figures/time_deviations.h"
#include "problems/problem.h"
#include "traces/trace.h"

namespace csv2pnp {

enum class CarrierSource {
    carRecord,      // the file's CAR record
    inFile,         // another layout's own record of it, as an R&S export's Signal Frequency
    commandLine,    // -c
    exportDefault,  // csv2pnp's default, assumed for an export
    noRecord,       // csv2pnp's default, assumed for a plot file without a CAR record
};

// Where a carrier comes from, in the words of the text summary and of the JSON.
struct CarrierSourceWords {
    std::string_view summary;  // "default for an export"
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

// -c for the trace's input wins over the file's carrier; without either csv2pnp's default is
// assumed.
CarrierChoice chooseCarrier(const Trace& trace);

// How the integrated figures take a trace's spurs, as bench analyzers offer it.
enum class SpurTreatment {
    measured,  // the trace as measured, spurs and all
    omit,      // each spur on its clean line
    power,     // the clean line, plus the power of each spur in the band as a discrete tone
};
// "measured", "omit", "power": the names of --spurs and of the JSON.
std::string_view spurTreatmentName(SpurTreatment treatment);

// What the command line asks of the analysis. The defaults stand here, once.
struct AnalysisOptions {
    std::optional<double> normaliseTo;         // -n, Hz
    std::optional<OffsetBand> band;            // -r: the first band
    std::vector<OffsetBand> moreBands;         // -r given again: the bands after the first
    std::optional<std::vector<double>> spots;  // --spot: the spot offsets, instead of the decades
    Density density = Density::L;              // --density: what the chart and the spot table show
    bool pair = false;                         // --pair: every trace is of two alike oscillators
    bool hat = false;                          // --hat: the first three inputs are A-B, A-C and B-C
    std::optional<std::size_t> relativeTo;     // --relative-to: the input (from 0) the others are set against
    double spurThreshold = defaultSpurThreshold;
    SpurTreatment spurs = SpurTreatment::power;  // as an analyzer sums its trace: each spur at its power
    double marginThreshold = defaultMarginThreshold;
    bool subtractFloor = false;
    std::optional<double> smoothing;     // decades: the drawn levels and the spot noise only
    DeviationsAsked deviations;          // --adev, --mdev, --tdev, --tau
    bool fit = false;                    // --fit
    std::optional<OffsetBand> fitRange;  // --fit-range: else the whole trace
    std::optional<double> fitBandwidth;  // --fh, Hz: else the trace's last offset
};

struct SpotLevel {
    double offset;                      // Hz
    double level;                       // dBc/Hz, read on the noise: the spurs on their clean lines;
                                        // not a number outside the trace
    std::optional<double> spurLeftOut;  // Hz: the spur stepped over to read it, if one was
    bool inside = true;                 // the offset lies within the trace's
    double density = 0;                 // with --density, the level in that density
};

struct BandFigures {
    NoiseIntegral integral;                      // over the band clipped to the trace
    bool clipped = false;                        // the band asked for reaches beyond the trace
    SpurTreatment spurs = SpurTreatment::power;  // how its spurs are taken
    std::size_t tones = 0;                       // with SpurTreatment::power, the spurs added as tones
    bool floorSubtracted = false;                // on the trace with the floor's power taken out
    std::size_t pointsBelowMargin = 0;           // points in the band less than the margin above the floor
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

// A band's figures, nothing when the band and the trace share no width.
struct BandResult {
    OffsetBand asked;
    std::optional<BandFigures> figures;
};

// The instrument's own integrated figure over a range of the trace, as its export gives it,
// beside pnpplot's over the same range, the spurs taken as the options say.
struct InstrumentComparison {
    InstrumentIntegration given;
    std::optional<BandFigures> ours;     // over the range clipped to the trace; nothing without overlap
    std::optional<double> differenceDb;  // pnpplot's integrated phase noise minus the instrument's
    std::string notCompared;             // why nothing is compared (levels moved, a weighting), if so
};

// The Allan deviation at a tau, as the fit's terms imply it and as integrated from the trace.
struct FitAllan {
    double tau;
    std::vector<double> terms;  // sigma_y of each present term, in the fit's order
    double total;               // of the terms together: the root of the sum of their variances
    double trace;               // integrated from the trace
};

struct FitFigures {
    std::optional<PowerLawFit> fit;  // nothing with fewer than two points left to fit
    double bandwidth = 0;            // Hz: f_h of the phase-modulation terms
    bool bandwidthGiven = false;     // by --fh
    std::vector<FitAllan> allan;     // at the taus of --adev
};

struct TraceAnalysis {
    const Trace* trace = nullptr;  // its points as analysed and drawn: normalised, floor subtracted
    CarrierChoice carrier;
    double firstOffset = 0, lastOffset = 0;
    OffsetBand band{};                             // asked for: -r, or the whole trace
    bool bandGiven = false;                        // by -r
    std::vector<SpotLevel> spotNoise;              // at each decade inside the band and the trace
    std::optional<SmoothedLevels> smoothed;        // with --smooth; the spot noise is then smoothed too
    std::optional<std::vector<TracePoint>> clean;  // with spurs: each on its clean line
    bool figuresOnClean = false;                   // the figures integrate the clean line (--spurs omit, power)
    std::optional<BandFigures> integration;        // nothing when the band and the trace share no width
    std::vector<BandResult> moreBands;             // with -r given again, the bands after the first
    std::vector<InstrumentComparison> instrument;  // where the export holds the instrument's own figures
    Density density = Density::L;                  // what the spot table and the chart show
    bool pairCorrected = false;                    // lowered by 10 log10 2 as one of two alike oscillators
    std::optional<char> hat;                       // with --hat: 'A', 'B' or 'C'
    std::optional<Difference> relative;            // with --relative-to: against that input's trace
    std::string relativeTo;                        // the caption of the trace it is set against
    std::optional<std::vector<TracePoint>> shown;  // what the chart draws instead of the levels: the
                                                   // density chosen, or the difference
    double spurThreshold = defaultSpurThreshold;
    std::vector<SpurFigures> spurs;                   // phase-noise traces only
    std::optional<double> spursJitter;                // s: of the spurs in the band together
    std::optional<FloorMargin> floorMargin;           // for a phase-noise trace with a floor
    std::vector<TracePoint> floorLimited;             // with --subtract-floor: the points kept as measured
    std::optional<std::vector<TracePoint>> measured;  // with --subtract-floor: the levels before it, when it
                                                      // changed any
    std::optional<MaskFigures> mask;                  // phase-noise traces, with -m
    std::optional<TimeDeviations> deviations;         // phase-noise traces, with --adev, --mdev or --tdev
    std::optional<FitFigures> fit;                    // phase-noise traces, with --fit
};

struct Analyses {
    std::vector<TraceAnalysis> traces;  // in the order of the traces
    std::vector<Warning> warnings;
};

// The steps of analyseTraces, each of its own.

// Each trace's carrier: a plot file without a CAR record takes its offsets from -c, and -n
// moves every level to the carrier it names.
std::vector<CarrierChoice> settleCarriers(std::vector<Trace>& traces, const AnalysisOptions& options,
                                          std::vector<Warning>& warnings);

// Per trace, the margin above the floor of the same input, while every floor is still as
// measured; nothing for a floor or a trace without one.
std::vector<std::optional<FloorMargin>> floorMargins(const std::vector<Trace>& traces, double threshold);

// With --subtract-floor: each trace with a margin corrected where the floor allows; returns
// per trace the floor-limited points it kept as measured.
std::vector<std::vector<TracePoint>> subtractFloors(std::vector<Trace>& traces,
                                                    const std::vector<std::optional<FloorMargin>>& margins);

// The spot noise, read on the noise points, and the figures over the band (or the whole
// trace) integrated from the figure points.
TraceAnalysis analyseTrace(const Trace& trace, CarrierChoice carrier, std::optional<OffsetBand> band,
                           const std::vector<TracePoint>& figurePoints, const std::vector<TracePoint>& noisePoints);

// With --hat: the first phase-noise traces of the first three inputs, A against B, A against
// C and B against C, become the three oscillators A, B and C; the rest of those inputs goes.
void applyThreeCorneredHat(std::vector<Trace>& traces, std::vector<Warning>& warnings);

// With --pair: every trace lowered by 10 log10 2, as one of two alike oscillators.
void correctPairs(std::vector<Trace>& traces);

// Takes each trace's carrier, offsets from -c where a plot file names none, and -n, then
// works out per trace what the summary says. Each phase-noise trace is paired with the floor
// of the same input. The traces are changed in place where the options ask for it.
Analyses analyseTraces(std::vector<Trace>& traces, const AnalysisOptions& options, const LimitMask* mask);

// The levels a chart draws: smoothed, or the trace's own.
const std::vector<TracePoint>& drawnPoints(const TraceAnalysis& analysis);
// The levels the figures integrate: with the spurs on their clean lines (--spurs omit or
// power), or the trace's own.
const std::vector<TracePoint>& figurePoints(const TraceAnalysis& analysis);
// The noise without its spurs, each on its clean line: the spot noise is read on it.
const std::vector<TracePoint>& noisePoints(const TraceAnalysis& analysis);

}  // namespace csv2pnp
