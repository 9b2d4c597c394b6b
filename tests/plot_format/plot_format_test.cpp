#include <gtest/gtest.h>

#include "plot_format/plot_format.h"

namespace csv2pnp {
namespace {

// The banner is part of the file format the viewer's users know; it never follows the
// project's version.
TEST(PlotFormat, BannerIsTheFixedText) {
    EXPECT_EQ(plotformat::banner, "PN2060 CSV to Zembrik GPIB Toolkit noise plot file converter Quelvane V0.1");
}

// The records the viewer reads, spelled out once here; every other test uses the constants.
TEST(PlotFormat, FixedRecordsAsTheViewerReadsThem) {
    using namespace plotformat;
    EXPECT_EQ(authorComment, ";by Tovrandel");
    EXPECT_EQ(instrumentRecord, "IMO PN2060A Phase Noise Analyzer");
    EXPECT_EQ(std::string(overloadRecord) + "|" + std::string(intermediateFrequencyRecord) + "|" +
                  std::string(localOscillatorRecord) + "|" + std::string(multiplierRecord) + "|" +
                  std::string(videoBandwidthRecord) + "|" + std::string(attenuationRecord) + "|" +
                  std::string(noiseCorrectionRecord),
              "OVC 0|EIF -1 Hz|ELO -1 Hz|MUL 1.000000|VBF 1.00|ATT 0 dB|NCF 0 dB");
    EXPECT_EQ(startBands[0].rangeRecord, "DRG -2,5");  // a comma, not a full stop
    EXPECT_EQ(decadeBoundaries[7].marker, "DEC 5");
    EXPECT_EQ(defaultCarrierFrequency, 10000000u);
}

TEST(PlotFormat, NamesOfAFilePair) {
    PlotFileNames names = plotFileNamesFor("run1.csv");
    EXPECT_EQ(names.baseName, "run1.csv");
    EXPECT_EQ(names.dataFileName, ".\\run1.csv.pnp");
    EXPECT_EQ(names.imaginaryFileName, ".\\run1.csv.img.pnp");
    EXPECT_EQ(plotFileNamesFor("").dataFileName, ".\\.pnp");
}

}  // namespace
}  // namespace csv2pnp
