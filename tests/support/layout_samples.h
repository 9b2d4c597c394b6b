// A small file of each layout pnpplot reads, made for the tests from the layouts' descriptions.
#pragma once

namespace csv2pnp::test {

// A Rohde & Schwarz FSWP export as its German locale writes it: decimal commas, CR LF, a
// phase-noise trace and an amplitude-noise trace.
inline constexpr const char* rohdeSchwarzSample =
    "Type;FSWP50;\r\nVersion;1.80;\r\nDate;03.Dec 2026;\r\nMode;PNOISE;\r\n"
    "Signal Frequency;99999999,977;Hz\r\nSignal Level;-8,15;dBm\r\n"
    "Trace;1;\r\nTrace Result;PN;\r\nx-Unit;Hz;\r\ny-Unit;dBc/Hz;\r\nValues;4;\r\n"
    "1,000000;-42,863144;\r\n10,000000;-72,5;\r\n100,000000;-101,25;\r\n1000,000000;-124,0;\r\n"
    "Trace;1;\r\nTrace Result;AM;\r\nx-Unit;Hz;\r\ny-Unit;dBc/Hz;\r\nValues;3;\r\n"
    "1,0;-120,5;\r\n10,0;-130,5;\r\n100,0;-140,5;\r\n";

// A Keysight E5052B CSV with one block, and the older channel and trace layout.
inline constexpr const char* keysightSample =
    "!CSV A.01.01\n!Keysight Technologies,E5052B,MY12345,A.03.10\n!Date: Wednesday, December 09, 2026\n"
    "BEGIN CH1_DATA\nFreq(Hz),PN1(dBc/Hz)\n1.000000E+01,-7.123456E+01\n1.000000E+02,-9.523456E+01\n"
    "1.000000E+03,-1.152346E+02\nEND\n";
inline constexpr const char* keysightChannelSample =
    "\"# Channel 1\"\n\"# Trace 1\"\nFrequency, Formatted Data\n+1.00000000000E+001, -1.02345678900E+002\n"
    "+1.00000000000E+002, -1.22345678900E+002\n+1.00000000000E+003, -1.42345678900E+002\n";

// A CSV whose header row names the units, with metadata before it and a reference section.
inline constexpr const char* unitHeaderSample =
    "\"Instrument\",\"SDR-PN\"\n\"Carrier frequency (MHz)\",100\n"
    "\"Offset frequency (Hz)\",\"Phase noise (dBc/Hz)\",\"Phase noise (dBc/Hz) (smoothed)\"\n"
    "10,-100.5,-100.2\n100,-120.25,-120.1\n1000,-140,-139.9\nReference trace\n"
    "\"Offset frequency (Hz)\",\"Phase noise (dBc/Hz)\"\n10,-110\n100,-130\n";

// Numbers in columns as a German spreadsheet saves them: semicolons and decimal commas.
inline constexpr const char* europeanColumnsSample =
    "# Messung\n10;-119,86;-131,53\n100;-143,70;-157,40\n"
    "1000;-153,80;-168,80\n";

}  // namespace csv2pnp::test
