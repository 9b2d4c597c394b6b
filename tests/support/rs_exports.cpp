#include "rs_exports.h"

#include <charconv>
#include <cmath>
#include <cstdint>

namespace csv2pnp::test {

namespace {

constexpr int pointCount = 4663;
constexpr double firstOffset = 1, lastOffset = 30e6;

std::string fixed(double value, int decimals) {
    char text[64];
    auto [end, error] = std::to_chars(text, text + sizeof text, value, std::chars_format::fixed, decimals);
    return error == std::errc() ? std::string(text, end) : std::string();
}

double readBack(const std::string& text) {
    double value = 0;
    std::from_chars(text.data(), text.data() + text.size(), value);
    return value;
}

// The noise of a synthesizer: flicker FM near the carrier, a loop plateau, a floor.
double noiseLevel(double f) {
    const double power = std::pow(10.0, -8.3) / (f * f * f) + std::pow(10.0, -10.5) / f +
                         std::pow(10.0, -11.6) / (1 + (f / 3e5) * (f / 3e5)) + std::pow(10.0, -15.5);
    return 10 * std::log10(power);
}

struct Tone {
    double offset;  // Hz
    double height;  // dB above the noise at its peak
    double width;   // points of it more than 10 dB above the noise
};

// Mains, a reference's and the loop's tones: 6 to 16 points wide, 12 to 38 dB high.
constexpr Tone tones[] = {{50, 38, 6}, {150, 30, 7}, {20e3, 38, 6}, {62.5e3, 36, 8}, {160e3, 30, 10}, {1.5e6, 20, 16}};

}  // namespace

PrintedTrace fswpTrace(unsigned seed, double lift) {
    PrintedTrace trace;
    const double ratio = std::pow(lastOffset / firstOffset, 1.0 / (pointCount - 1));
    std::uint64_t state = seed;
    for (int k = 0; k < pointCount; ++k) {
        const double f = firstOffset * std::pow(ratio, k);
        double power = std::pow(10.0, noiseLevel(f) / 10);
        for (const Tone& tone : tones) {
            // A Gaussian resolution filter, as wide as the tone's points at its offset.
            const double spacing = tone.offset * (ratio - 1);
            const double sigma = tone.width / 2 * spacing / std::sqrt(2 * (tone.height - 10) / (10 / std::log(10.0)));
            const double peak = std::pow(10.0, (noiseLevel(tone.offset) + tone.height) / 10);
            power += peak * std::exp(-(f - tone.offset) * (f - tone.offset) / (2 * sigma * sigma));
        }
        state = state * 16807 % 2147483647;
        const double scatter = static_cast<double>(state) / 2147483647 - 0.5;
        trace.offsets.push_back(fixed(f, 10));
        trace.levels.push_back(fixed(10 * std::log10(power) + scatter + lift, 10));
        trace.offsetValues.push_back(readBack(trace.offsets.back()));
        trace.levelValues.push_back(readBack(trace.levels.back()));
    }
    return trace;
}

double trapezoidDbc(const PrintedTrace& trace, double from, double to) {
    double area = 0;
    for (std::size_t i = 0; i + 1 < trace.offsetValues.size(); ++i) {
        const double fa = trace.offsetValues[i], fb = trace.offsetValues[i + 1];
        const double lo = std::max(fa, from), hi = std::min(fb, to);
        if (hi <= lo) continue;
        const double pa = std::pow(10.0, trace.levelValues[i] / 10), pb = std::pow(10.0, trace.levelValues[i + 1] / 10);
        const double atLo = pa + (pb - pa) * (lo - fa) / (fb - fa), atHi = pa + (pb - pa) * (hi - fa) / (fb - fa);
        area += (hi - lo) * (atLo + atHi) / 2;
    }
    return 10 * std::log10(area);
}

namespace {

// A trace's values, each row its offset, the separator and its level, and what ends the row.
std::string valueRows(const PrintedTrace& trace, const char* separator, const char* end) {
    std::string text;
    for (std::size_t i = 0; i < trace.offsets.size(); ++i) text += trace.offsets[i] + separator + trace.levels[i] + end;
    return text;
}

// The trapezoid over the range, as the export prints it.
IntegratedRange rangeOf(int trace, const PrintedTrace& points, double from, double to) {
    return IntegratedRange{trace, from, to, readBack(fixed(trapezoidDbc(points, from, to), 3))};
}

constexpr const char* integratedHeader =
    "Window, Range, Trace, Start Offset, Unit, Stop Offset, Unit, Weighting, Int Noise, Unit, PM, Unit, FM, Unit, "
    "Jitter, Unit";

}  // namespace

RsExport fswp26TabExport(const PrintedTrace& trace, const std::vector<std::pair<double, double>>& ranges) {
    RsExport out;
    out.bytes =
        "Type\tFSWP-26\r\nVersion\t3.01\r\nDate\t09.Dec 2026\r\nMode\tPNOISE\r\n"
        "Signal Frequency\t1000000000.000000\tHz\r\nSignal Level\t-4.87\tdBm\r\nWindow\t1\tPhase Noise\r\n"
        "Trace\t1\r\nTrace Mode\tAVERAGE\r\nTrace Result\tPN\r\nSmoothing\tOFF\r\nSpurious Removal\tOFF\r\n"
        "x-Unit\tHz\r\ny-Unit\tdBc/Hz\r\nValues\t" +
        std::to_string(trace.offsets.size()) + "\r\n" + valueRows(trace, "\t", "\r\n");
    for (int blank = 2; blank <= 6; ++blank)
        out.bytes += "Trace\t" + std::to_string(blank) + "\r\nTrace Mode\tBLANK\r\n";
    out.bytes += "Window\t2\tIntegrated Measurements\r\n" + std::string(integratedHeader) + "\r\n";
    for (const auto& [from, to] : ranges) {
        out.ranges.push_back(rangeOf(1, trace, from, to));
        out.bytes += "2\t" + std::to_string(out.ranges.size()) + "\t1\t" + fixed(from, 6) + "\tHz\t" + fixed(to, 6) +
                     "\tHz\tNone\t" + fixed(out.ranges.back().noiseDbc, 3) +
                     "\tdBc\t4.51\t\xc2\xb0\t1.234\tkHz\t12.5\tps\r\n";
    }
    return out;
}

RsExport fswp8NumericalExport(const PrintedTrace& first, const PrintedTrace& second, double from, double to) {
    RsExport out;
    out.bytes =
        "%Type;FSWP-8;\n%Version;3.02;\n%Date;09.Dec 2026;\n%Mode;PNOISE;\n%Signal Frequency;100000000;Hz\n"
        "%Trace;1;\n%Trace Mode;AVERAGE;\n%Trace Result;PN;\n%x-Unit;Hz;\n%y-Unit;dBc/Hz;\n%Values;" +
        std::to_string(first.offsets.size()) + ";\n" + valueRows(first, " ", " \n") +
        "%Trace 2 \n%Trace Mode AVERAGE \n%Trace Result PN \n%Smoothing ON \n%x-Unit Hz \n%y-Unit dBc/Hz \n"
        "%Values " +
        std::to_string(second.offsets.size()) + " \n" + valueRows(second, " ", " \n") +
        "%Window 2 Integrated Measurements \n%" + integratedHeader + "\n";
    for (const PrintedTrace* trace : {&first, &second}) {
        out.ranges.push_back(rangeOf(static_cast<int>(out.ranges.size() + 1), *trace, from, to));
        out.bytes += "%2 1 " + std::to_string(out.ranges.size()) + " " + fixed(from, 3) + " Hz " + fixed(to, 3) +
                     " Hz None " + fixed(out.ranges.back().noiseDbc, 3) + " dBc 0.251 deg 87.6 Hz 6.97 ps \n";
    }
    return out;
}

}  // namespace csv2pnp::test
