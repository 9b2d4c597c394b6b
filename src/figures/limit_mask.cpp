#include "figures/limit_mask.h"

#include <algorithm>
#include <charconv>
#include <cmath>

#include "figures/power_law.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

std::string_view trimmed(std::string_view text) {
    auto space = [](char c) { return c == ' ' || c == '\t'; };
    while (!text.empty() && space(text.front())) text.remove_prefix(1);
    while (!text.empty() && space(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<double> levelIn(std::string_view text) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (error != std::errc() || stop != end || !std::isfinite(value)) return std::nullopt;
    return value;
}

Problem failure(const std::string& file, std::size_t line, std::string text) {
    return Problem{ProblemKind::invalid, file, line, std::move(text)};
}

bool before(const TracePoint& point, double offset) { return point.offset < offset; }

}  // namespace

Result<LimitMask> readLimitMask(std::string_view text, const std::string& file) {
    // Windows editors may start the file with a byte-order mark.
    if (text.substr(0, 3) == "\xef\xbb\xbf") text.remove_prefix(3);
    LimitMask mask{file, {}};
    std::size_t number = 0;
    for (std::size_t at = 0; at < text.size();) {
        std::size_t end = std::min(text.find_first_of("\r\n", at), text.size());
        std::string_view line = text.substr(at, end - at);
        at = end;
        if (at < text.size() && text[at] == '\r') ++at;
        if (at < text.size() && text[at] == '\n') ++at;
        ++number;
        line = trimmed(line.substr(0, line.find('#')));
        if (line.empty()) continue;
        std::size_t comma = line.find(',');
        if (comma == std::string_view::npos || line.find(',', comma + 1) != std::string_view::npos) {
            return failure(file, number, "a point is \"offset,level\", such as 10k,-120");
        }
        std::string_view offsetText = trimmed(line.substr(0, comma)), levelText = trimmed(line.substr(comma + 1));
        std::optional<double> offset = parseSiValue(offsetText);
        if (!offset) return failure(file, number, "'" + std::string(offsetText) + "' is not an offset in Hz");
        std::optional<double> level = levelIn(levelText);
        if (!level) return failure(file, number, "'" + std::string(levelText) + "' is not a level in dBc/Hz");
        if (!mask.points.empty() && *offset < mask.points.back().offset) {
            return failure(file, number, "the offsets must not decrease");
        }
        mask.points.push_back(TracePoint{*offset, *level});
    }
    if (mask.points.empty()) return failure(file, 0, "holds no point");
    return mask;
}

std::optional<double> limitAt(const LimitMask& mask, double offset) {
    const std::vector<TracePoint>& points = mask.points;
    if (points.empty() || !(offset >= points.front().offset) || !(offset <= points.back().offset)) return std::nullopt;
    auto at = std::lower_bound(points.begin(), points.end(), offset, before);
    if (at->offset == offset) {
        double highest = at->level;
        for (auto same = at; same != points.end() && same->offset == offset; ++same)
            highest = std::max(highest, same->level);
        return highest;
    }
    return levelBetween(*(at - 1), *at, offset);
}

MaskVerdict judgeAgainstMask(const std::vector<TracePoint>& points, const LimitMask& mask) {
    MaskVerdict verdict;
    if (mask.points.empty() || points.empty()) return verdict;
    verdict.maskSpan = {mask.points.front().offset, mask.points.back().offset};
    verdict.coversMask = points.front().offset <= verdict.maskSpan.from && points.back().offset >= verdict.maskSpan.to;
    for (const TracePoint& point : points) {
        std::optional<double> limit = limitAt(mask, point.offset);
        if (!limit) continue;
        if (verdict.judged++ == 0) verdict.judgedSpan.from = point.offset;
        verdict.judgedSpan.to = point.offset;
        double excess = point.level - *limit;
        if (excess > 0) {
            ++verdict.above;
            verdict.failing.push_back(point);
        }
        if (!verdict.worst || excess > *verdict.worst) {
            verdict.worst = excess;
            verdict.worstAt = point.offset;
        }
    }
    return verdict;
}

}  // namespace csv2pnp
