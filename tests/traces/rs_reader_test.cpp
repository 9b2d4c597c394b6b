#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "layout_samples.h"
#include "rs_exports.h"
#include "traces/read_warnings.h"
#include "traces/rs_reader.h"

namespace csv2pnp {
namespace {

std::vector<std::string> described(const std::vector<Warning>& warnings) {
    std::vector<std::string> texts;
    for (const Warning& warning : warnings) texts.push_back(describe(warning));
    return texts;
}

TEST(RohdeSchwarzReader, EveryTraceBlockWithItsValues) {
    ASSERT_TRUE(isRohdeSchwarzExport(test::rohdeSchwarzSample));
    Result<std::vector<Trace>> read = readRohdeSchwarzExport(test::rohdeSchwarzSample, "dir/fswp.DAT");
    ASSERT_TRUE(read) << read.problem->text;
    const std::vector<Trace>& traces = *read.value;
    ASSERT_EQ(traces.size(), 2u);
    EXPECT_EQ(traces[0].caption, "fswp.DAT trace 1 phase noise");
    EXPECT_EQ(traces[1].caption, "fswp.DAT trace 1 AM noise");
    EXPECT_FALSE(traces[0].amplitude);
    EXPECT_TRUE(traces[1].amplitude);
    EXPECT_EQ(traces[0].carrier, 99999999.977);
    ASSERT_EQ(traces[0].points.size(), 4u);
    EXPECT_EQ(traces[0].points[0].offset, 1);
    EXPECT_EQ(traces[0].points[0].level, -42.863144);
    EXPECT_EQ(traces[0].points[3].level, -124);
    EXPECT_EQ(traces[1].points.size(), 3u);
    EXPECT_TRUE(read.warnings.empty());
    EXPECT_FALSE(isRohdeSchwarzExport("10;-100;\n"));
}

// The forms the FSWP writes: tabs, with blank traces and a window of the instrument's own
// integrated figures (FSWP-26, firmware 3.01); every header line after '%', the first trace's
// fields separated by semicolons and the second's by spaces, rows with a space after each
// number (FSWP-8, firmware 3.02). Every trace with values is read, each with the figures the
// instrument gives of it.
TEST(RohdeSchwarzReader, TheFormsTheInstrumentsWrite) {
    const test::PrintedTrace first = test::fswpTrace(1), second = test::fswpTrace(2, -3);
    const test::RsExport tabs = test::fswp26TabExport(first, {{1e3, 10e6}, {10, 1e6}});
    const test::RsExport numerical = test::fswp8NumericalExport(first, second, 1, 30e6);
    const struct {
        const test::RsExport* file;
        std::vector<const test::PrintedTrace*> traces;
        std::string model, note;
        double carrier;
        bool secondSmoothed;
    } cases[] = {
        {&tabs, {&first}, "FSWP-26", "traces 2, 3, 4, 5 and 6 blank (Trace Mode BLANK), not drawn", 1e9, false},
        {&numerical, {&first, &second}, "FSWP-8", "", 100e6, true},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(isRohdeSchwarzExport(c.file->bytes));
        Result<std::vector<Trace>> read = readRohdeSchwarzExport(c.file->bytes, "F.DAT");
        ASSERT_TRUE(read) << read.problem->text;
        EXPECT_EQ(described(read.warnings), std::vector<std::string>{});
        ASSERT_EQ(read.value->size(), c.traces.size());
        std::size_t ranges = 0;
        for (std::size_t t = 0; t < c.traces.size(); ++t) {
            const Trace& trace = read.value->at(t);
            const test::PrintedTrace& printed = *c.traces[t];
            EXPECT_EQ(trace.caption, "F.DAT trace " + std::to_string(t + 1) + " phase noise");
            EXPECT_EQ(trace.carrier, c.carrier);
            EXPECT_EQ(trace.layoutNote, c.note);
            ASSERT_EQ(trace.points.size(), 4663u);
            for (std::size_t i : {std::size_t(0), std::size_t(2331), std::size_t(4662)}) {
                EXPECT_EQ(trace.points[i].offset, printed.offsetValues[i]);
                EXPECT_EQ(trace.points[i].level, printed.levelValues[i]);
            }
            ASSERT_TRUE(trace.instrument);
            EXPECT_EQ(trace.instrument->model, c.model);
            EXPECT_EQ(trace.instrument->smoothed, t == 1 && c.secondSmoothed);
            EXPECT_FALSE(trace.instrument->spursRemoved);
            for (const InstrumentIntegration& given : trace.instrument->integrations) {
                const test::IntegratedRange& expected = c.file->ranges.at(ranges++);
                EXPECT_EQ(expected.trace, static_cast<int>(t + 1));
                EXPECT_EQ(given.band.from, expected.from);
                EXPECT_EQ(given.band.to, expected.to);
                EXPECT_EQ(given.noiseDbc, expected.noiseDbc);
                EXPECT_EQ(given.noise.unit, "dBc");
                EXPECT_FALSE(given.rmsPhase.value.empty() || given.jitter.unit.empty());
            }
        }
        EXPECT_EQ(ranges, c.file->ranges.size());
    }
}

// A block that breaks its promise, or a line that is not what the layout says, names its line;
// levels in another unit are refused, a spectrum's above all.
TEST(RohdeSchwarzReader, ProblemsNameTheLine) {
    const std::string head = "Type;FSWP;\nSignal Frequency;1e8;Hz\nTrace;1;\nx-Unit;kHz;\n";
    const std::pair<std::string, std::string> cases[] = {
        {head + "Values;3;\n1;-100;\n2;-110;\n",
         "line 7: trace 1 phase noise holds 2 of the 3 values its Values line "
         "promises"},
        {head + "Values;444444444001;\n1;-100;\n",  // more than memory holds: no attempt to hold them
         "line 6: trace 1 phase noise holds 1 of the 444444444001 values its Values line promises"},
        {head + "Values;2;\n1;-100;\n2;x;\n",
         "line 7: '2;x;' is not offset;level; (value 2 of 2 of trace 1 phase noise)"},
        {head + "y-Unit;deg;\n", "line 5: " + yUnitRefused("deg", "")},
        {"Type;FSW-26;\nMode;ANALYZER;\nCenter Freq;1000000000;Hz\nTrace;1;\nx-Unit;Hz;\ny-Unit;dBm;\nValues;1;\n"
         "999999000;-80.5;\n",
         "line 6: " + yUnitRefused("dBm", "ANALYZER")},
        {"Type;FSW-26;\nMode;ANALYZER;\nTrace;1;\nValues;1;\n1000;-80.5;\n",
         "line 2: " + spectrumModeRefused("ANALYZER")},
        {head + "Values;many;\n", "line 5: 'Values;many;' is not Values;<count>;"},
        {"Type;FSWP;\nSignal Frequency;1e8;Hz\n", "holds no Trace block"},
    };
    for (const auto& [bytes, problem] : cases) {
        Result<std::vector<Trace>> read = readRohdeSchwarzExport(bytes, "r.dat");
        EXPECT_EQ(read ? "" : describe(*read.problem), "r.dat: " + problem) << bytes;
    }
    // Offsets in kHz are scaled to hertz.
    Result<std::vector<Trace>> kilohertz = readRohdeSchwarzExport(head + "Values;2;\n1;-100;\n2;-110;\n", "k.dat");
    ASSERT_TRUE(kilohertz);
    EXPECT_EQ(kilohertz.value->front().points.back().offset, 2000);
}

// What the reader does not use is warned of, at its line: a window it does not read, cells
// beyond the level, a trace without values, integrated figures it cannot place.
TEST(RohdeSchwarzReader, WarnsOfWhatItDoesNotRead) {
    const std::string bytes =
        "Type\tFSWP-26\nTrace\t1\nValues\t2\n10\t-100\t7\n100\t-110\t7\nTrace\t2\nTrace Mode\tAVERAGE\n"
        "Window\t3\tSpot Noise\nOffset\tLevel\n1000\t-120\n10000\t-130\nWindow\t2\tIntegrated Measurements\n"
        "Window\tRange\tTrace\tStart Offset\tUnit\tStop Offset\tUnit\tWeighting\tInt Noise\tUnit\n"
        "2\t1\t1\t10\tHz\t100\tHz\tNone\t-80\tdB\n2\t1\t2\t10\tHz\t100\tHz\tNone\t-80\tdBc\n2\t1\t1\t10\tparsec\n";
    Result<std::vector<Trace>> read = readRohdeSchwarzExport(bytes, "w.dat");
    ASSERT_TRUE(read) << read.problem->text;
    EXPECT_EQ(described(read.warnings),
              (std::vector<std::string>{
                  "w.dat: line 10: '1000\t-120' " + inWindowNotRead("3 'Spot Noise'") + " (and 1 more line like it)",
                  "w.dat: line 16: '2\t1\t1\t10\tparsec' " + std::string(notIntegratedFigures),
                  "w.dat: line 4: '10\t-100\t7' " + std::string(cellsBeyondRead) + " (and 1 more line like it)",
                  "w.dat: line 6: " + traceHoldsNoValues("trace 2 phase noise"),
                  "w.dat: line 14: " + integratedNoiseUnit("dB"), "w.dat: line 15: " + integratedTraceMissing("2")}));
    EXPECT_EQ(read.value->front().points.size(), 2u);
}

}  // namespace
}  // namespace csv2pnp
