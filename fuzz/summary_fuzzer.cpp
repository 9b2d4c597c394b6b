// Feeds arbitrary bytes to pnpplot's reader and to the mask reader, analyses every trace with
// every option that changes it, and writes the text and JSON summaries. Checks that the JSON
// is one document that a strict reader takes, all UTF-8, without NaN or infinity.
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <sstream>
#include <string>

#include "analysis/trace_analysis.h"
#include "analysis_checks.h"
#include "report/summary_json.h"
#include "report/summary_text.h"
#include "text_checks.h"
#include "traces/trace_reader.h"

using fuzzing::require;

namespace {

// A strict JSON reader that only says whether the text is one valid document.
struct JsonCheck {
    const std::string& text;
    std::size_t at = 0;

    void space() {
        while (at < text.size() && (text[at] == ' ' || text[at] == '\n' || text[at] == '\r' || text[at] == '\t')) ++at;
    }
    bool literal(const char* word) {
        std::string_view w(word);
        if (text.compare(at, w.size(), w) != 0) return false;
        at += w.size();
        return true;
    }
    bool string() {
        if (at >= text.size() || text[at] != '"') return false;
        for (++at; at < text.size(); ++at) {
            auto c = static_cast<unsigned char>(text[at]);
            if (c == '"') return ++at, true;
            if (c < 0x20) return false;
            if (c == '\\') {
                if (++at >= text.size()) return false;
                if (text[at] == 'u') {
                    for (int i = 0; i < 4; ++i) {
                        if (++at >= text.size() || !std::isxdigit(static_cast<unsigned char>(text[at]))) return false;
                    }
                } else if (std::string_view("\"\\/bfnrt").find(text[at]) == std::string_view::npos) {
                    return false;
                }
            }
        }
        return false;
    }
    bool number() {
        std::size_t start = at;
        if (at < text.size() && text[at] == '-') ++at;
        if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) return false;
        if (text[at] == '0') {
            ++at;
        } else {
            while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
        }
        if (at < text.size() && text[at] == '.') {
            if (++at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) return false;
            while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
        }
        if (at < text.size() && (text[at] == 'e' || text[at] == 'E')) {
            ++at;
            if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
            if (at >= text.size() || !std::isdigit(static_cast<unsigned char>(text[at]))) return false;
            while (at < text.size() && std::isdigit(static_cast<unsigned char>(text[at]))) ++at;
        }
        return at > start;
    }
    bool value(int depth) {
        if (depth > 64) return false;
        space();
        if (at >= text.size()) return false;
        char c = text[at];
        bool ok = false;
        if (c == '{' || c == '[') {
            char close = c == '{' ? '}' : ']';
            ++at;
            space();
            if (at < text.size() && text[at] == close) return ++at, true;
            for (;;) {
                if (c == '{') {
                    space();
                    if (!string()) return false;
                    space();
                    if (at >= text.size() || text[at++] != ':') return false;
                }
                if (!value(depth + 1)) return false;
                space();
                if (at < text.size() && text[at] == ',') {
                    ++at;
                    continue;
                }
                return at < text.size() && text[at++] == close;
            }
        }
        if (c == '"') ok = string();
        else if (c == 't') ok = literal("true");
        else if (c == 'f') ok = literal("false");
        else if (c == 'n') ok = literal("null");
        else ok = number();
        return ok;
    }
    bool document() {
        if (!value(0)) return false;
        space();
        return at == text.size();
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string bytes(reinterpret_cast<const char*>(data), size);
    const std::vector<csv2pnp::Trace> read = fuzzing::boundedTraces(bytes);
    csv2pnp::Result<csv2pnp::LimitMask> mask = csv2pnp::readLimitMask(bytes, "mask\x81.txt");
    require(mask.value.has_value() != mask.problem.has_value());

    // Each input takes one of the two sets of options, so that every input stays cheap.
    const int variant = static_cast<int>(size % 2);
    if (!read.empty()) {
        std::vector<csv2pnp::Trace> traces = fuzzing::withCarrier(read, variant);
        csv2pnp::Analyses analyses =
            csv2pnp::analyseTraces(traces, fuzzing::analysisOptions(variant), mask ? &*mask.value : nullptr);
        std::ostringstream summary;
        for (csv2pnp::TraceAnalysis& analysis : analyses.traces) {
            fuzzing::checkAnalysis(analysis);
            // One of the two costly checks an input: the fit with the options as they come (the
            // traces target fits both sets), the deviations with every option.
            if (variant == 0) fuzzing::checkFit(analysis);
            if (variant == 1 && !analysis.trace->floor) {
                analysis.deviations =
                    fuzzing::checkedDeviations(figurePoints(analysis), analysis.carrier.hertz, size % 4 == 1, size / 4);
            }
            csv2pnp::writeSummaryText(summary, analysis);
        }
        std::string json = csv2pnp::summaryJson(analyses.traces, {{"in\xfe.csv", std::nullopt}},
                                                std::string("chart\xfe.svg"), std::nullopt, "0");
        require(fuzzing::validText(json, false));
        require(JsonCheck{json}.document());
    }
    return 0;
}
