#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "traces/trace_names.h"

namespace csv2pnp {
namespace {

TEST(TraceNames, LabelsAndInputsOfOneName) {
    std::vector<Trace> traces{
        namedTrace("a/meas.csv", "pn2060", "phase noise"), namedTrace("a/meas.csv", "pn2060", "floor"),
        namedTrace("b/meas.csv", "pn2060", "phase noise"), namedTrace("ref.csv", "pn2060", "phase noise")};
    traces[1].floor = true;
    distinguishSources(traces);
    std::vector<std::string> captions;
    for (const Trace& trace : traces) captions.push_back(trace.caption);
    EXPECT_EQ(captions, (std::vector<std::string>{"a/meas.csv phase noise", "meas.csv floor", "b/meas.csv phase noise",
                                                  "ref.csv phase noise"}));
    EXPECT_EQ(traces[0].measurement, "a/meas.csv");

    std::vector<Trace> labelled{namedTrace("x.dat", "rs", "trace 1 phase noise"), namedTrace("x.dat", "rs", "floor"),
                                namedTrace("x.dat", "rs", "trace 2 phase noise")};
    labelled[1].floor = true;
    labelTraces(labelled, "XO");
    EXPECT_EQ(labelled[0].caption, "XO");
    EXPECT_EQ(labelled[1].caption, "XO floor");
    EXPECT_EQ(labelled[2].caption, "XO trace 2 phase noise");
    EXPECT_EQ(labelled[2].measurement, "XO");
}

}  // namespace
}  // namespace csv2pnp
