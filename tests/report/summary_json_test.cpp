#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "analysis/trace_analysis.h"
#include "fixed_analysis.h"
#include "json_parser.h"
#include "report/summary_json.h"
#include "scratch_dir.h"

namespace csv2pnp {
namespace {

class SummaryJson : public test::ScratchDir {};

// Every key of the document and its type, as a strict parser reads it: the interface that
// users' scripts rely on. The analysis asks for everything, so that no member that can hold a
// value is left null.
TEST_F(SummaryJson, EveryKeyAndItsType) {
    if (!test::haveJsonParser()) GTEST_SKIP() << "needs python3 to parse JSON";
    test::FixedAnalysis fixed;
    // As an R&S export gives them: the instrument's figure beside pnpplot's over its range.
    fixed.traces[0].instrument = InstrumentRecord{"FSWP-26", false, false, {}};
    const InstrumentIntegration given{
        9, "1", {10, 1e5}, "None", -60.8, {"-60.8", "dBc"}, {"1.28", "mrad"}, {"10.1", "Hz"}, {"2.04", "ps"}};
    fixed.analyses.traces[0].instrument.push_back({given, fixed.analyses.traces[0].integration, 0.1, ""});
    test::writeFile("s.json", summaryJson(fixed.analyses.traces,
                                          {{"a.pnp", std::nullopt},
                                           {"b.csv", Problem{ProblemKind::notOpened, "b.csv", 0, "cannot be opened"}}},
                                          "a.svg", "a.html", "9.9"));
    const std::string walk =
        "(lambda walk: walk(walk, d, ''))(lambda walk, v, p: [p + ' ' + ('number' if type(v) in (int, float) else "
        "type(v).__name__)] + "
        "(sum([walk(walk, x, p + '.' + k) for k, x in v.items()], []) if isinstance(v, dict) else "
        "sum([walk(walk, x, p + '[]') for x in v[:1]], []) if isinstance(v, list) else []))";
    EXPECT_EQ(test::queryJson("s.json", walk),
              " dict\n.pnpplot str\n.chart str\n.report str\n.inputs list\n.inputs[] dict\n.inputs[].path str\n"
              ".inputs[].read bool\n.inputs[].error NoneType\n.traces list\n.traces[] dict\n.traces[].caption str\n"
              ".traces[].source str\n.traces[].layout NoneType\n.traces[].measured str\n"
              ".traces[].measured_utc str\n.traces[].floor bool\n.traces[].carrier_hz number\n"
              ".traces[].carrier_from str\n.traces[].carrier_assumed bool\n.traces[].normalised_from_hz number\n"
              ".traces[].points number\n.traces[].left_out number\n.traces[].left_out_without_power number\n"
              ".traces[].repeated_offsets number\n"
              ".traces[].below_floor_left_out number\n.traces[].offsets_hz list\n.traces[].offsets_hz[] number\n"
              ".traces[].spot_noise list\n.traces[].spot_noise[] dict\n.traces[].spot_noise[].offset_hz number\n"
              ".traces[].spot_noise[].level_dbc_hz number\n.traces[].spot_noise[].spur_left_out_hz NoneType\n"
              ".traces[].spot_noise[].inside bool\n.traces[].spot_noise_smoothed_decades number\n"
              ".traces[].integration dict\n.traces[].integration.from_hz number\n"
              ".traces[].integration.to_hz number\n.traces[].integration.clipped bool\n"
              ".traces[].integration.spurs_omitted bool\n.traces[].integration.spurs str\n"
              ".traces[].integration.floor_subtracted bool\n.traces[].integration.phase_noise_dbc number\n"
              ".traces[].integration.rms_phase_rad number\n.traces[].integration.rms_phase_deg number\n"
              ".traces[].integration.rms_jitter_s number\n.traces[].integration.residual_fm_hz number\n"
              ".traces[].integration.points_below_margin number\n.traces[].integrations list\n"
              ".traces[].integrations[] dict\n.traces[].integrations[].from_hz number\n"
              ".traces[].integrations[].to_hz number\n.traces[].integrations[].clipped bool\n"
              ".traces[].integrations[].spurs_omitted bool\n.traces[].integrations[].spurs str\n"
              ".traces[].integrations[].floor_subtracted bool\n.traces[].integrations[].phase_noise_dbc number\n"
              ".traces[].integrations[].rms_phase_rad number\n.traces[].integrations[].rms_phase_deg number\n"
              ".traces[].integrations[].rms_jitter_s number\n.traces[].integrations[].residual_fm_hz number\n"
              ".traces[].integrations[].points_below_margin number\n.traces[].instrument_integration list\n"
              ".traces[].instrument_integration[] dict\n.traces[].instrument_integration[].instrument str\n"
              ".traces[].instrument_integration[].range str\n.traces[].instrument_integration[].from_hz number\n"
              ".traces[].instrument_integration[].to_hz number\n.traces[].instrument_integration[].weighting str\n"
              ".traces[].instrument_integration[].int_noise dict\n"
              ".traces[].instrument_integration[].int_noise.value str\n"
              ".traces[].instrument_integration[].int_noise.unit str\n"
              ".traces[].instrument_integration[].int_noise_dbc number\n"
              ".traces[].instrument_integration[].rms_phase dict\n"
              ".traces[].instrument_integration[].rms_phase.value str\n"
              ".traces[].instrument_integration[].rms_phase.unit str\n"
              ".traces[].instrument_integration[].residual_fm dict\n"
              ".traces[].instrument_integration[].residual_fm.value str\n"
              ".traces[].instrument_integration[].residual_fm.unit str\n"
              ".traces[].instrument_integration[].jitter dict\n.traces[].instrument_integration[].jitter.value str\n"
              ".traces[].instrument_integration[].jitter.unit str\n"
              ".traces[].instrument_integration[].smoothing bool\n"
              ".traces[].instrument_integration[].spur_removal bool\n"
              ".traces[].instrument_integration[].pnpplot dict\n"
              ".traces[].instrument_integration[].pnpplot.from_hz number\n"
              ".traces[].instrument_integration[].pnpplot.to_hz number\n"
              ".traces[].instrument_integration[].pnpplot.clipped bool\n"
              ".traces[].instrument_integration[].pnpplot.spurs_omitted bool\n"
              ".traces[].instrument_integration[].pnpplot.spurs str\n"
              ".traces[].instrument_integration[].pnpplot.floor_subtracted bool\n"
              ".traces[].instrument_integration[].pnpplot.phase_noise_dbc number\n"
              ".traces[].instrument_integration[].pnpplot.rms_phase_rad number\n"
              ".traces[].instrument_integration[].pnpplot.rms_phase_deg number\n"
              ".traces[].instrument_integration[].pnpplot.rms_jitter_s number\n"
              ".traces[].instrument_integration[].pnpplot.residual_fm_hz number\n"
              ".traces[].instrument_integration[].pnpplot.points_below_margin number\n"
              ".traces[].instrument_integration[].difference_db number\n"
              ".traces[].instrument_integration[].not_compared NoneType\n.traces[].pair_corrected bool\n"
              ".traces[].hat NoneType\n.traces[].relative NoneType\n.traces[].spurs list\n.traces[].spurs[] dict\n"
              ".traces[].spurs[].offset_hz number\n.traces[].spurs[].level_dbc_hz number\n"
              ".traces[].spurs[].power_dbc number\n.traces[].spurs[].jitter_s number\n"
              ".traces[].spurs[].points number\n.traces[].spurs[].in_band bool\n.traces[].spurs_jitter_s number\n"
              ".traces[].spur_threshold_db number\n.traces[].floor_margin dict\n"
              ".traces[].floor_margin.min_db number\n.traces[].floor_margin.at_hz number\n"
              ".traces[].floor_margin.threshold_db number\n.traces[].floor_margin.points_below number\n"
              ".traces[].floor_margin.ranges_hz list\n.traces[].floor_margin.ranges_hz[] list\n"
              ".traces[].floor_margin.ranges_hz[][] number\n.traces[].floor_margin.range_points list\n"
              ".traces[].floor_margin.range_points[] number\n.traces[].floor_margin.floor_limited_points number\n"
              ".traces[].mask dict\n.traces[].mask.file str\n.traces[].mask.pass bool\n"
              ".traces[].mask.worst_db number\n.traces[].mask.at_hz number\n.traces[].mask.points_above number\n"
              ".traces[].mask.points_judged number\n.traces[].mask.judged_hz list\n"
              ".traces[].mask.judged_hz[] number\n.traces[].mask.mask_hz list\n.traces[].mask.mask_hz[] number\n"
              ".traces[].adev list\n.traces[].adev[] dict\n.traces[].adev[].tau_s number\n"
              ".traces[].adev[].sigma_y number\n.traces[].mdev list\n.traces[].mdev[] dict\n"
              ".traces[].mdev[].tau_s number\n.traces[].mdev[].sigma_y number\n.traces[].tdev list\n"
              ".traces[].tdev[] dict\n.traces[].tdev[].tau_s number\n.traces[].tdev[].sigma_x_s number\n"
              ".traces[].fit dict\n.traces[].fit.from_hz number\n.traces[].fit.to_hz number\n"
              ".traces[].fit.points number\n.traces[].fit.terms list\n.traces[].fit.terms[] dict\n"
              ".traces[].fit.terms[].alpha number\n.traces[].fit.terms[].type str\n"
              ".traces[].fit.terms[].level_1hz_dbc_hz number\n.traces[].fit.terms[].level_sigma_db number\n"
              ".traces[].fit.terms[].h number\n"
              ".traces[].fit.corners_hz list\n.traces[].fit.dominant list\n.traces[].fit.dominant[] dict\n"
              ".traces[].fit.dominant[].from_hz number\n.traces[].fit.dominant[].to_hz number\n"
              ".traces[].fit.dominant[].alpha number\n.traces[].fit.max_error_db number\n"
              ".traces[].fit.rms_error_db number\n.traces[].fit.fh_hz number\n.traces[].fit.adev list\n"
              ".traces[].fit.adev[] dict\n.traces[].fit.adev[].tau_s number\n"
              ".traces[].fit.adev[].terms_sigma_y list\n.traces[].fit.adev[].terms_sigma_y[] number\n"
              ".traces[].fit.adev[].sigma_y number\n.traces[].fit.adev[].trace_sigma_y number\n");
    EXPECT_EQ(test::queryJson("s.json", "[d['traces'][0]['measured_utc'], d['traces'][1]['mask']]"),
              "2026-12-09T04:26:47Z\nNone\n");
}

}  // namespace
}  // namespace csv2pnp
