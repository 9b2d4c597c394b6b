#include "report/summary_json.h"

#include <cmath>
#include <string_view>

#include "plot_format/time_stamp.h"
#include "text/json_text.h"

namespace csv2pnp {

namespace {

// Builds one object's members in order, with the commas between them.
struct JsonObject {
    std::string text = "{";
    void add(std::string_view key, const std::string& value) {
        if (text.size() > 1) text += ", ";
        text += jsonString(key) + ": " + value;
    }
    std::string done() { return text + "}"; }
};

std::string list(const std::vector<std::string>& items) {
    std::string text = "[";
    for (std::size_t i = 0; i < items.size(); ++i) text += (i ? ", " : "") + items[i];
    return text + "]";
}

std::string boolean(bool value) { return value ? "true" : "false"; }
std::string count(std::size_t value) { return std::to_string(value); }

std::string integrationJson(const BandFigures& band) {
    JsonObject object;
    object.add("from_hz", jsonNumber(band.integral.from));
    object.add("to_hz", jsonNumber(band.integral.to));
    object.add("clipped", boolean(band.clipped));
    object.add("spurs_omitted", boolean(band.spurs == SpurTreatment::omit));
    object.add("spurs", jsonString(spurTreatmentName(band.spurs)));
    object.add("floor_subtracted", boolean(band.floorSubtracted));
    object.add("phase_noise_dbc", jsonNumber(band.figures.integratedPhaseNoise));
    object.add("rms_phase_rad", jsonNumber(band.figures.rmsPhase));
    object.add("rms_phase_deg", jsonNumber(band.figures.rmsPhaseDegrees));
    object.add("rms_jitter_s", jsonNumber(band.figures.rmsJitter));
    object.add("residual_fm_hz", jsonNumber(band.figures.residualFm));
    object.add("points_below_margin", count(band.pointsBelowMargin));
    return object.done();
}

// {"value": "4.5", "unit": "deg"}, as the file gives it.
std::string givenJson(const GivenFigure& figure) {
    JsonObject object;
    object.add("value", figure.value.empty() ? "null" : jsonString(figure.value));
    object.add("unit", figure.unit.empty() ? "null" : jsonString(figure.unit));
    return object.done();
}

// The instrument's own integrated figures, each beside pnpplot's over the same range.
std::string instrumentJson(const TraceAnalysis& analysis) {
    std::vector<std::string> items;
    for (const InstrumentComparison& comparison : analysis.instrument) {
        const InstrumentRecord& record = *analysis.trace->instrument;
        const InstrumentIntegration& given = comparison.given;
        JsonObject item;
        item.add("instrument", jsonString(record.model));
        item.add("range", jsonString(given.range));
        item.add("from_hz", jsonNumber(given.band.from));
        item.add("to_hz", jsonNumber(given.band.to));
        item.add("weighting", jsonString(given.weighting));
        item.add("int_noise", givenJson(given.noise));
        item.add("int_noise_dbc", jsonNumber(given.noiseDbc));
        item.add("rms_phase", givenJson(given.rmsPhase));
        item.add("residual_fm", givenJson(given.residualFm));
        item.add("jitter", givenJson(given.jitter));
        item.add("smoothing", boolean(record.smoothed));
        item.add("spur_removal", boolean(record.spursRemoved));
        item.add("pnpplot", comparison.ours ? integrationJson(*comparison.ours) : "null");
        item.add("difference_db", jsonNumber(comparison.differenceDb));
        item.add("not_compared", comparison.notCompared.empty() ? "null" : jsonString(comparison.notCompared));
        items.push_back(item.done());
    }
    return list(items);
}

// [{"tau_s": 1e-05, "sigma_y": ...}, ...]
std::string deviationsJson(const std::vector<DeviationPoint>& points, const char* name) {
    std::vector<std::string> items;
    for (const DeviationPoint& point : points) {
        JsonObject item;
        item.add("tau_s", jsonNumber(point.tau));
        item.add(name, jsonNumber(point.value));
        items.push_back(item.done());
    }
    return list(items);
}

// {"terms": [{"alpha": 0, "level_1hz_dbc_hz": ..., "level_sigma_db": ..., "h": ...}], "corners_hz": [...], ...}
std::string fitJson(const FitFigures& figures) {
    if (!figures.fit) return "null";
    const PowerLawFit& fit = *figures.fit;
    JsonObject object;
    object.add("from_hz", jsonNumber(fit.from));
    object.add("to_hz", jsonNumber(fit.to));
    object.add("points", std::to_string(fit.points));
    std::vector<std::string> terms, corners, dominant, allan;
    for (const PowerLawTerm& term : fit.terms) {
        JsonObject item;
        item.add("alpha", std::to_string(2 - term.i));
        item.add("type", jsonString(noiseTypeName(term.i)));
        item.add("level_1hz_dbc_hz", jsonNumber(term.level1Hz));
        item.add("level_sigma_db", jsonNumber(term.levelSigma));
        item.add("h", std::isfinite(term.h) ? jsonNumber(term.h) : "null");
        terms.push_back(item.done());
    }
    for (const FitCorner& corner : fit.corners) corners.push_back(jsonNumber(corner.offset));
    for (const DominantTerm& d : fit.dominant) {
        JsonObject item;
        item.add("from_hz", jsonNumber(d.from));
        item.add("to_hz", jsonNumber(d.to));
        item.add("alpha", std::to_string(2 - d.i));
        dominant.push_back(item.done());
    }
    object.add("terms", list(terms));
    object.add("corners_hz", list(corners));
    object.add("dominant", list(dominant));
    object.add("max_error_db", jsonNumber(fit.maxError));
    object.add("rms_error_db", jsonNumber(fit.rmsError));
    object.add("fh_hz", jsonNumber(figures.bandwidth));
    for (const FitAllan& row : figures.allan) {
        JsonObject item;
        std::vector<std::string> sigmas;
        for (double sigma : row.terms) sigmas.push_back(jsonNumber(sigma));
        item.add("tau_s", jsonNumber(row.tau));
        item.add("terms_sigma_y", list(sigmas));
        item.add("sigma_y", jsonNumber(row.total));
        item.add("trace_sigma_y", jsonNumber(row.trace));
        allan.push_back(item.done());
    }
    object.add("adev", list(allan));
    return object.done();
}

std::string spursJson(const std::vector<SpurFigures>& spurs) {
    std::vector<std::string> items;
    for (const SpurFigures& spur : spurs) {
        JsonObject object;
        object.add("offset_hz", jsonNumber(spur.spur.offset));
        object.add("level_dbc_hz", jsonNumber(spur.spur.level));
        object.add("power_dbc", jsonNumber(spur.spur.powerDbc));
        object.add("jitter_s", jsonNumber(spur.jitter));
        object.add("points", count(spur.spur.last - spur.spur.first + 1));
        object.add("in_band", boolean(spur.inBand));
        items.push_back(object.done());
    }
    return list(items);
}

std::string marginJson(const FloorMargin& margin) {
    JsonObject object;
    object.add("min_db", jsonNumber(margin.smallest));
    object.add("at_hz", margin.smallest ? jsonNumber(margin.smallestAt) : "null");
    object.add("threshold_db", jsonNumber(margin.threshold));
    object.add("points_below", count(margin.belowAt.size()));
    std::vector<std::string> ranges, points;
    for (const MarginRange& range : margin.below) {
        ranges.push_back(list({jsonNumber(range.from), jsonNumber(range.to)}));
        points.push_back(count(range.points));
    }
    object.add("ranges_hz", list(ranges));
    object.add("range_points", list(points));
    object.add("floor_limited_points", count(margin.floorLimited));
    return object.done();
}

std::string maskJson(const MaskFigures& mask) {
    JsonObject object;
    object.add("file", jsonString(mask.file));
    object.add("pass", mask.verdict.judged == 0 ? "null" : boolean(mask.verdict.passes()));
    object.add("worst_db", jsonNumber(mask.verdict.worst));
    object.add("at_hz", mask.verdict.worst ? jsonNumber(mask.verdict.worstAt) : "null");
    object.add("points_above", count(mask.verdict.above));
    object.add("points_judged", count(mask.verdict.judged));
    object.add("judged_hz", mask.verdict.judged == 0 ? "null"
                                                     : list({jsonNumber(mask.verdict.judgedSpan.from),
                                                             jsonNumber(mask.verdict.judgedSpan.to)}));
    object.add("mask_hz", list({jsonNumber(mask.verdict.maskSpan.from), jsonNumber(mask.verdict.maskSpan.to)}));
    return object.done();
}

// A TIM record's time in ISO 8601: "2026-12-09T04:26:47Z".
std::optional<std::string> isoTime(const std::string& stamp) {
    std::optional<UtcTime> time = parseTimeStamp(stamp);
    if (!time) return std::nullopt;
    auto two = [](int value) { return std::string(value < 10 ? "0" : "") + std::to_string(value); };
    return std::to_string(time->year) + "-" + two(time->month) + "-" + two(time->day) + "T" + two(time->hour) + ":" +
           two(time->minute) + ":" + two(time->second) + "Z";
}

std::string traceJson(const TraceAnalysis& analysis) {
    const Trace& trace = *analysis.trace;
    JsonObject object;
    object.add("caption", jsonString(trace.caption));
    object.add("source", jsonString(trace.source));
    object.add("layout", trace.layout.empty() ? "null" : jsonString(trace.layout));
    object.add("measured", trace.time.empty() ? "null" : jsonString(trace.time));
    std::optional<std::string> iso = isoTime(trace.time);
    object.add("measured_utc", iso ? jsonString(*iso) : "null");
    object.add("floor", boolean(trace.floor));
    object.add("carrier_hz", jsonNumber(analysis.carrier.hertz));
    object.add("carrier_from", jsonString(carrierSourceWords(analysis.carrier.source).json));
    object.add("carrier_assumed", boolean(analysis.carrier.assumed()));
    object.add("normalised_from_hz", jsonNumber(analysis.carrier.normalisedFrom));
    object.add("points", count(trace.points.size()));
    object.add("left_out", count(trace.leftOut + trace.withoutPower));
    object.add("left_out_without_power", count(trace.withoutPower));
    object.add("repeated_offsets", count(trace.repeated));
    // No point is left out at the floor any more: a floor-limited one keeps its measured level.
    object.add("below_floor_left_out", count(0));
    object.add("offsets_hz", list({jsonNumber(analysis.firstOffset), jsonNumber(analysis.lastOffset)}));
    std::vector<std::string> spots;
    for (const SpotLevel& spot : analysis.spotNoise) {
        JsonObject item;
        item.add("offset_hz", jsonNumber(spot.offset));
        item.add("level_dbc_hz", jsonNumber(spot.level));
        item.add("spur_left_out_hz", jsonNumber(spot.spurLeftOut));
        item.add("inside", boolean(spot.inside));
        spots.push_back(item.done());
    }
    object.add("spot_noise", list(spots));
    object.add("spot_noise_smoothed_decades",
               analysis.smoothed ? jsonNumber(analysis.smoothed->decades) : std::string("null"));
    object.add("integration", analysis.integration ? integrationJson(*analysis.integration) : "null");
    std::vector<std::string> integrations{analysis.integration ? integrationJson(*analysis.integration) : "null"};
    for (const BandResult& band : analysis.moreBands) {
        integrations.push_back(band.figures ? integrationJson(*band.figures) : "null");
    }
    object.add("integrations", list(integrations));
    object.add("instrument_integration", instrumentJson(analysis));
    if (analysis.density != Density::L) {
        const DensityInfo& density = densityInfo(analysis.density);
        JsonObject item;
        item.add("name", jsonString(density.name));
        item.add("unit", jsonString(density.unit));
        std::vector<std::string> values;
        for (const SpotLevel& spot : analysis.spotNoise) {
            JsonObject value;
            value.add("offset_hz", jsonNumber(spot.offset));
            value.add("value", spot.inside ? jsonNumber(spot.density) : "null");
            values.push_back(value.done());
        }
        item.add("spot", list(values));
        object.add("density", item.done());
    }
    object.add("pair_corrected", boolean(analysis.pairCorrected));
    object.add("hat", analysis.hat ? jsonString(std::string(1, *analysis.hat)) : "null");
    if (analysis.relative) {
        JsonObject relative;
        relative.add("to", jsonString(analysis.relativeTo));
        relative.add("best_db", jsonNumber(analysis.relative->best));
        relative.add("best_at_hz", jsonNumber(analysis.relative->bestAt));
        relative.add("worst_db", jsonNumber(analysis.relative->worst));
        relative.add("worst_at_hz", jsonNumber(analysis.relative->worstAt));
        object.add("relative", relative.done());
    } else {
        object.add("relative", "null");
    }
    object.add("spurs", spursJson(analysis.spurs));
    object.add("spurs_jitter_s", jsonNumber(analysis.spursJitter));
    object.add("spur_threshold_db", jsonNumber(analysis.spurThreshold));
    object.add("floor_margin", analysis.floorMargin ? marginJson(*analysis.floorMargin) : "null");
    object.add("mask", analysis.mask ? maskJson(*analysis.mask) : "null");
    const TimeDeviations deviations = analysis.deviations.value_or(TimeDeviations{});
    object.add("adev", deviationsJson(deviations.allan, "sigma_y"));
    object.add("mdev", deviationsJson(deviations.modified, "sigma_y"));
    object.add("tdev", deviationsJson(deviations.time, "sigma_x_s"));
    object.add("fit", analysis.fit ? fitJson(*analysis.fit) : "null");
    return object.done();
}

}  // namespace

std::string summaryJson(const std::vector<TraceAnalysis>& analyses, const std::vector<InputOutcome>& inputs,
                        std::optional<std::string> chart, std::optional<std::string> report,
                        const std::string& version) {
    JsonObject document;
    document.add("pnpplot", jsonString(version));
    document.add("chart", chart ? jsonString(*chart) : "null");
    document.add("report", report ? jsonString(*report) : "null");
    std::vector<std::string> read;
    for (const InputOutcome& input : inputs) {
        JsonObject item;
        item.add("path", jsonString(input.path));
        item.add("read", boolean(!input.problem));
        item.add("error", input.problem ? jsonString(input.problem->text) : "null");
        read.push_back(item.done());
    }
    document.add("inputs", list(read));
    std::vector<std::string> traces;
    for (const TraceAnalysis& analysis : analyses) traces.push_back(traceJson(analysis));
    std::string text = document.text + ",\n \"traces\": [";
    for (std::size_t i = 0; i < traces.size(); ++i) text += (i ? ",\n  " : "\n  ") + traces[i];
    return text + "]}\n";
}

}  // namespace csv2pnp
