#include "traces/rs_reader.h"

#include <algorithm>
#include <charconv>
#include <optional>

#include "text/utf8_text.h"
#include "traces/header_units.h"
#include "traces/read_warnings.h"
#include "traces/text_table.h"
#include "traces/trace.h"

namespace csv2pnp {

namespace {

constexpr std::string_view layoutName = "rs";
constexpr std::string_view integratedWindow = "Integrated Measurements";
// The keys of more than one word, as a line whose fields are separated by spaces writes them.
constexpr std::string_view spacedKeys[] = {"Trace Mode",       "Trace Result", "Signal Frequency",  "Signal Level",
                                           "Spurious Removal", "Spur Removal", "Smoothing Aperture"};

// The instrument writes a decimal comma or a decimal point, as its locale is set.
std::optional<double> valueIn(std::string_view cell) {
    return numberIn(cell, cell.find(',') != std::string_view::npos ? ',' : '.');
}

// A line without the '%' that the form for numerical tools puts before its header lines.
std::string_view bodyOf(std::string_view line) {
    line = trimmed(line);
    if (!line.empty() && line.front() == '%') line.remove_prefix(1);
    return trimmed(line);
}

// The cells of a line: separated by semicolons, else tabs, else (or with fallback) the given
// separator, else runs of spaces; the empty cell after a closing separator left out.
void cellsOf(std::string_view body, std::vector<std::string_view>& cells, char fallback = '\0') {
    char separator = body.find(';') != std::string_view::npos                            ? ';'
                     : body.find('\t') != std::string_view::npos                         ? '\t'
                     : fallback != '\0' && body.find(fallback) != std::string_view::npos ? fallback
                                                                                         : '\0';
    splitCells(body, separator, cells);
    if (cells.size() > 1 && cells.back().empty()) cells.pop_back();
}

// A header line's cells, its key first: a key of two words written with a space between
// its fields stays one cell.
void keyCellsOf(std::string_view body, std::vector<std::string_view>& cells) {
    cellsOf(body, cells);
    if (cells.size() < 2 || body.find_first_of(";\t") != std::string_view::npos) return;
    for (std::string_view key : spacedKeys) {
        if (startsWith(body, key) && (body.size() == key.size() || body[key.size()] == ' ')) {
            cells.erase(cells.begin());
            cells.front() = body.substr(0, key.size());
            return;
        }
    }
}

// A row of values: the offset and the level, separated by a semicolon (a closing one after
// them), a tab or spaces, and whether more cells follow. The rows are most of an export, so
// they are cut without building a list of cells.
struct ValueRow {
    std::string_view offset, level;
    bool more = false;
};

ValueRow valueRowOf(std::string_view row) {
    row = trimmed(row);
    const std::size_t semicolon = row.find(';');
    const char separator = semicolon != std::string_view::npos        ? ';'
                           : row.find('\t') != std::string_view::npos ? '\t'
                                                                      : ' ';
    ValueRow cells;
    const std::size_t first = separator == ';' ? semicolon : row.find(separator);
    if (first == std::string_view::npos) return cells;
    cells.offset = row.substr(0, first);
    std::string_view rest = trimmed(row.substr(first + 1));
    const std::size_t second = rest.find(separator);
    cells.level = rest.substr(0, second);
    cells.more = second != std::string_view::npos && !trimmed(rest.substr(second + 1)).empty();
    return cells;
}

bool isOn(std::string_view value) { return asciiLowerCase(value) == "on"; }

bool isSpectrumMode(std::string_view mode) {
    const std::string lower = asciiLowerCase(mode);
    return lower.find("analyzer") != std::string::npos || lower.find("spectrum") != std::string::npos;
}

std::string count(std::size_t n, const char* what) { return std::to_string(n) + " " + what + (n == 1 ? "" : "s"); }

// One "Trace" block as read so far.
struct Block {
    Trace trace;
    std::string number;
    std::size_t line = 0;
    bool blank = false;
    std::optional<bool> smoothed, spursRemoved;
};

// Where the columns of the window of integrated figures stand; each unit in the column after
// its figure.
struct IntegratedColumns {
    std::optional<std::size_t> range, trace, start, stop, weighting, noise, rmsPhase, residualFm, jitter;
};

std::optional<IntegratedColumns> integratedColumnsOf(const std::vector<std::string_view>& cells) {
    IntegratedColumns columns;
    const std::pair<std::string_view, std::optional<std::size_t> IntegratedColumns::*> names[] = {
        {"Range", &IntegratedColumns::range},         {"Trace", &IntegratedColumns::trace},
        {"Start Offset", &IntegratedColumns::start},  {"Stop Offset", &IntegratedColumns::stop},
        {"Weighting", &IntegratedColumns::weighting}, {"Int Noise", &IntegratedColumns::noise},
        {"PM", &IntegratedColumns::rmsPhase},         {"FM", &IntegratedColumns::residualFm},
        {"Jitter", &IntegratedColumns::jitter}};
    for (std::size_t c = 0; c < cells.size(); ++c) {
        for (const auto& [name, member] : names) {
            if (cells[c] == name) columns.*member = c;
        }
    }
    if (!columns.trace || !columns.start || !columns.stop || !columns.noise) return std::nullopt;
    return columns;
}

// A row of integrated figures and the trace it is of; nothing when it does not parse.
struct IntegratedRow {
    std::string trace;
    InstrumentIntegration figures;
    std::string noiseUnit;
};

std::optional<IntegratedRow> integratedRowOf(const std::vector<std::string_view>& cells,
                                             const IntegratedColumns& columns, std::size_t line) {
    auto cell = [&](std::optional<std::size_t> at, std::size_t after = 0) -> std::string_view {
        return at && *at + after < cells.size() ? cells[*at + after] : std::string_view();
    };
    auto given = [&](std::optional<std::size_t> at) {
        return GivenFigure{std::string(cell(at)), std::string(cell(at, 1))};
    };
    std::optional<double> start = valueIn(cell(columns.start)), stop = valueIn(cell(columns.stop));
    std::optional<double> startScale = hertzPer(cell(columns.start, 1).empty() ? "Hz" : cell(columns.start, 1));
    std::optional<double> stopScale = hertzPer(cell(columns.stop, 1).empty() ? "Hz" : cell(columns.stop, 1));
    std::optional<double> noise = valueIn(cell(columns.noise));
    if (!start || !stop || !startScale || !stopScale || !noise || cell(columns.trace).empty()) return std::nullopt;
    IntegratedRow row;
    std::string_view trace = cell(columns.trace);
    const std::size_t digits = trace.find_first_of("0123456789");
    row.trace = std::string(digits == std::string_view::npos ? trace : trace.substr(digits));
    row.noiseUnit = std::string(cell(columns.noise, 1));
    InstrumentIntegration& figures = row.figures;
    figures.line = line;
    figures.range = std::string(cell(columns.range));
    figures.band = OffsetBand{*start * *startScale, *stop * *stopScale};
    figures.weighting = std::string(cell(columns.weighting));
    figures.noiseDbc = *noise;
    figures.noise = given(columns.noise);
    figures.rmsPhase = given(columns.rmsPhase);
    figures.residualFm = given(columns.residualFm);
    figures.jitter = given(columns.jitter);
    return row;
}

// "traces 2, 3 and 4 blank (Trace Mode BLANK)".
std::string blankNote(const std::vector<std::string>& numbers) {
    std::string list;
    for (std::size_t i = 0; i < numbers.size(); ++i) {
        list += (i == 0 ? "" : i + 1 == numbers.size() ? " and " : ", ") + numbers[i];
    }
    return (numbers.size() == 1 ? "trace " : "traces ") + list + " blank (Trace Mode BLANK), not drawn";
}

}  // namespace

bool isRohdeSchwarzExport(std::string_view bytes) {
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        std::string_view body = bodyOf(*line);
        if (body.empty()) continue;
        return startsWith(body, "Type") && body.size() > 4 && (body[4] == ';' || body[4] == '\t' || body[4] == ' ');
    }
    return false;
}

Result<std::vector<Trace>> readRohdeSchwarzExport(std::string_view bytes, const std::string& source) {
    std::optional<double> carrier;
    std::string model, mode;
    std::size_t modeLine = 0;
    bool smoothedAll = false, spursRemovedAll = false;
    std::vector<Block> blocks;
    std::vector<IntegratedRow> integrated;
    std::vector<Warning> warnings;
    std::optional<IntegratedColumns> columns;
    bool inIntegrated = false;
    std::string window;  // the window last named, until a trace block: "3 'Spot Noise'"
    LeftOutLines outside, inWindow, badIntegrated, extraCells;
    double offsetScale = 1;
    std::vector<std::string_view> cells;
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        std::string_view body = bodyOf(*line);
        if (body.empty()) continue;
        if (inIntegrated) {
            // Its header row, then a row per range and trace, the figures' units after them.
            cellsOf(body, cells, ',');
            if (!columns && (columns = integratedColumnsOf(cells))) continue;
            if (columns && valueIn(cells.front())) {
                if (std::optional<IntegratedRow> row = integratedRowOf(cells, *columns, walk.number)) {
                    integrated.push_back(std::move(*row));
                } else {
                    badIntegrated.add(walk.number, body);
                }
                continue;
            }
            if (columns) inIntegrated = false;
        }
        keyCellsOf(body, cells);
        if (valueIn(cells.front())) {
            // Numbers outside a Values block: a window's table, or rows beyond those promised.
            (window.empty() ? outside : inWindow).add(walk.number, body);
            continue;
        }
        const std::string_view key = cells.front();
        const std::string_view value = cells.size() > 1 ? cells[1] : std::string_view();
        const std::string_view unit = cells.size() > 2 ? cells[2] : std::string_view();
        Block* block = blocks.empty() ? nullptr : &blocks.back();
        if (key == "Type") {
            model = std::string(value);
        } else if (key == "Mode") {
            mode = std::string(value);
            modeLine = walk.number;
        } else if (key == "Signal Frequency") {
            std::optional<double> hertz = valueIn(value);
            std::optional<double> scale = hertzPer(unit.empty() ? "Hz" : unit);
            if (!hertz || !scale) {
                return invalidContent(source, walk.number,
                                      "'" + std::string(*line) + "' is not a Signal Frequency in Hz");
            }
            carrier = *hertz * *scale;
        } else if (key == "Window") {
            warnOfLeftOut(warnings, source, inWindow, inWindowNotRead(window));
            inWindow = LeftOutLines{};
            std::string name;
            for (std::size_t c = 2; c < cells.size(); ++c) name += (c > 2 ? " " : "") + std::string(cells[c]);
            inIntegrated = name == integratedWindow;
            columns.reset();
            window = std::string(value) + " '" + name + "'";
        } else if (key == "Trace") {
            Block next;
            next.trace = namedTrace(source, std::string(layoutName), "trace " + std::string(value) + " phase noise");
            next.number = std::string(value);
            next.line = walk.number;
            blocks.push_back(std::move(next));
            offsetScale = 1;
            window.clear();
        } else if (key == "Smoothing") {
            // Set before the first trace, for all of them.
            if (block) block->smoothed = isOn(value);
            else smoothedAll = isOn(value);
        } else if (key == "Spurious Removal" || key == "Spur Removal") {
            if (block) block->spursRemoved = isOn(value);
            else spursRemovedAll = isOn(value);
        } else if (key == "y-Unit" && !isDbcPerHz(value)) {
            // Levels in another unit are never drawn as phase noise, wherever the export names them.
            Problem refused =
                invalidContent(source, walk.number, yUnitRefused(value, isSpectrumMode(mode) ? mode : ""));
            Result<std::vector<Trace>> result(refused);
            result.warnings = std::move(warnings);
            return result;
        } else if (!block) {
            continue;  // the header's other records: version, date, level, ...
        } else if (key == "Trace Mode") {
            block->blank = asciiLowerCase(value) == "blank";
        } else if (key == "Trace Result") {
            Trace& trace = block->trace;
            if (value == "AM") {
                trace.amplitude = true;
                trace.part =
                    trace.part.substr(0, trace.part.size() - std::string_view("phase noise").size()) + "AM noise";
                trace.caption = trace.measurement + " " + trace.part;
            } else if (value != "PN") {
                return invalidContent(source, walk.number,
                                      "Trace Result '" + std::string(value) +
                                          "': pnpplot reads phase noise (PN) and amplitude noise (AM)");
            }
        } else if (key == "x-Unit") {
            std::optional<double> scale = hertzPer(value);
            if (!scale)
                return invalidContent(source, walk.number, "x-Unit '" + std::string(value) + "': offsets in Hz");
            offsetScale = *scale;
        } else if (key == "Values") {
            std::size_t promised = 0;
            auto [end, error] = std::from_chars(value.data(), value.data() + value.size(), promised);
            if (error != std::errc() || end != value.data() + value.size()) {
                return invalidContent(source, walk.number, "'" + std::string(*line) + "' is not Values;<count>;");
            }
            Trace& trace = block->trace;
            // No more values than the rest of the text can hold (each at least "f;L;"), whatever
            // the line promises: a promise of billions is a corrupt file, not a reason to fail.
            if (!block->blank) {
                trace.points.reserve(std::min(promised, static_cast<std::size_t>(walk.end - walk.at) / 4 + 1));
            }
            for (std::size_t k = 0; k < promised; ++k) {
                std::optional<std::string_view> row = nextLine(walk);
                if (!row) {
                    return invalidContent(source, walk.number,
                                          trace.part + " holds " + std::to_string(k) + " of the " +
                                              count(promised, "value") + " its Values line promises");
                }
                ValueRow cellsRead = valueRowOf(*row);
                std::optional<double> offset = valueIn(cellsRead.offset);
                std::optional<double> level = offset ? valueIn(cellsRead.level) : std::nullopt;
                if (!level) {
                    return invalidContent(source, walk.number,
                                          "'" + std::string(*row) + "' is not offset;level; (value " +
                                              std::to_string(k + 1) + " of " + std::to_string(promised) + " of " +
                                              trace.part + ")");
                }
                if (cellsRead.more) extraCells.add(walk.number, *row);
                if (!block->blank) trace.points.push_back(TracePoint{*offset * offsetScale, *level});
            }
        }
    }
    if (isSpectrumMode(mode)) return invalidContent(source, modeLine, spectrumModeRefused(mode));
    warnOfLeftOut(warnings, source, outside, outsideAnyBlock);
    warnOfLeftOut(warnings, source, inWindow, inWindowNotRead(window));
    warnOfLeftOut(warnings, source, badIntegrated, notIntegratedFigures);
    warnOfLeftOut(warnings, source, extraCells, cellsBeyondRead);
    std::vector<std::string> blank;
    for (Block& block : blocks) {
        if (block.blank) {
            blank.push_back(block.number);
        } else if (block.trace.points.empty()) {
            warnings.push_back({source, block.line, traceHoldsNoValues(block.trace.part)});
        }
        block.trace.carrier = carrier;
        InstrumentRecord record;
        record.model = model;
        record.smoothed = block.smoothed.value_or(smoothedAll);
        record.spursRemoved = block.spursRemoved.value_or(spursRemovedAll);
        block.trace.instrument = std::move(record);
    }
    for (IntegratedRow& row : integrated) {
        auto of = std::find_if(blocks.begin(), blocks.end(), [&](const Block& b) {
            return b.number == row.trace && !b.blank && !b.trace.amplitude && !b.trace.points.empty();
        });
        if (of == blocks.end()) {
            warnings.push_back({source, row.figures.line, integratedTraceMissing(row.trace)});
        } else if (asciiLowerCase(row.noiseUnit) != "dbc") {
            warnings.push_back({source, row.figures.line, integratedNoiseUnit(row.noiseUnit)});
        } else {
            of->trace.instrument->integrations.push_back(std::move(row.figures));
        }
    }
    std::vector<Trace> traces;
    for (Block& block : blocks) {
        if (block.blank) continue;
        if (!blank.empty()) block.trace.layoutNote = blankNote(blank);
        traces.push_back(std::move(block.trace));
    }
    if (blocks.empty()) return invalidContent(source, 0, "holds no Trace block");
    Result<std::vector<Trace>> result = settledTraces(std::move(traces), source);
    result.warnings.insert(result.warnings.begin(), warnings.begin(), warnings.end());
    return result;
}

}  // namespace csv2pnp
