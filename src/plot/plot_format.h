// The composite-noise plot file format: the one definition of its line end, its record
// keywords and the TRA line's layout, shared by the writer and the reader.
#pragma once

#include <string_view>

namespace csv2pnp::plotformat {

// Every line ends so on every host, the last one included: the viewer expects it.
inline constexpr std::string_view lineEnd = "\r\n";

// A line starting with it is a comment.
inline constexpr char commentMark = ';';

// Record keywords with the space before their value.
inline constexpr std::string_view captionRecord = "CAP ";
inline constexpr std::string_view timeRecord = "TIM ";
inline constexpr std::string_view decadeCountRecord = "DCC ";
inline constexpr std::string_view carrierRecord = "CAR ";
inline constexpr std::string_view endRecord = "EOF ";

// The imaginary-part file's caption is the data file's with this after it.
inline constexpr std::string_view imaginaryCaptionSuffix = " (imaginary part)";

// "CAR <hertz> Hz, 3dBm"
inline constexpr std::string_view carrierUnit = " Hz, 3dBm";

// The record after every decade marker.
inline constexpr std::string_view noiseCorrectionRecord = "NCF 0 dB";

// "   TRA <number>: <frequency> Hz, <level> dBc", frequency and level with three decimals.
inline constexpr std::string_view traceStart = "   TRA ";
inline constexpr std::string_view traceNumberEnd = ": ";
inline constexpr std::string_view traceFrequencyEnd = " Hz, ";
inline constexpr std::string_view traceLevelEnd = " dBc";

}  // namespace csv2pnp::plotformat
