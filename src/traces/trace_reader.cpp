#include "traces/trace_reader.h"

#include <algorithm>

#include "traces/keysight_reader.h"
#include "traces/plot_file_reader.h"
#include "traces/rs_reader.h"
#include "traces/table_reader.h"
#include "traces/text_table.h"

namespace csv2pnp {

namespace {

constexpr std::string_view byteOrderMark = "\xef\xbb\xbf";

// Comma-separated lines, their cells mostly unquoted: csv2pnp's own input, read by its rules.
bool isCommaTable(std::string_view bytes) {
    std::size_t lines = 0, quoted = 0;
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        std::string_view body = trimmed(*line);
        if (body.empty()) continue;
        ++lines;
        quoted += body.front() == '"';
    }
    return tableFormatOf(bytes).separator == ',' && quoted * 2 < lines;
}

// A row of two or more numbers.
bool hasNumberRow(std::string_view bytes) {
    TableFormat format = tableFormatOf(bytes);
    std::vector<std::string_view> cells;
    LineWalk walk = linesOf(bytes);
    while (std::optional<std::string_view> line = nextLine(walk)) {
        if (trimmed(*line).empty() || isCommentLine(*line)) continue;
        splitCells(*line, format.separator, cells);
        if (cells.size() >= 2 && numberIn(cells[0], format.decimalMark) && numberIn(cells[1], format.decimalMark)) {
            return true;
        }
    }
    return false;
}

bool fitsUnitHeader(std::string_view bytes, bool) { return hasUnitHeader(bytes); }
bool fitsPn2060(std::string_view, bool commaTable) { return commaTable; }
bool fitsColumns(std::string_view bytes, bool commaTable) { return !commaTable && hasNumberRow(bytes); }

// A layout is either marked by a file's first line, or a table that fits a file and explains
// some of its lines. The rule that chooses between them is the README's, in its order; whether
// the file is csv2pnp's comma-separated table is worked out once for the tables.
struct Layout {
    LayoutInfo info;
    bool (*marks)(std::string_view bytes);
    bool (*fits)(std::string_view bytes, bool commaTable);
    std::size_t (*explains)(std::string_view bytes);
};

const std::vector<Layout>& layouts() {
    static const std::vector<Layout> all = {
        {{"pnp", "a plot file", "a composite-noise plot file, as csv2pnp writes it"}, isPlotFile, nullptr, nullptr},
        {{"rs", "a Rohde & Schwarz export", "the ASCII trace export of an R&S FSWP, FSPN or FSW"},
         isRohdeSchwarzExport,
         nullptr,
         nullptr},
        {{"keysight", "a Keysight CSV", "the CSV of a Keysight network or signal source analyzer"},
         isKeysightCsv,
         nullptr,
         nullptr},
        {{"header", "a table with a unit header", "a table whose header row names Hz and dBc/Hz"},
         nullptr,
         fitsUnitHeader,
         unitHeaderLines},
        {{"pn2060", "a PN2060 export", "offset, phase noise and floor separated by commas"},
         nullptr,
         fitsPn2060,
         pn2060Rows},
        {{"columns", "numbers in columns", "numbers in columns separated by semicolons, tabs or spaces"},
         nullptr,
         fitsColumns,
         numberColumnLines},
    };
    return all;
}

Result<std::vector<Trace>> readIn(std::string_view layout, std::string bytes, const std::string& source,
                                  const ReadOptions& options) {
    if (layout == "pnp") return readPlotFile(bytes, source);
    if (layout == "rs") return readRohdeSchwarzExport(bytes, source);
    if (layout == "keysight") return readKeysightCsv(bytes, source);
    if (layout == "header") return readUnitHeaderTable(bytes, source, options.columns);
    if (layout == "columns") return readNumberColumns(bytes, source, options.columns);
    return readPn2060Export(std::move(bytes), source, options.columns);
}

std::string triedLayouts() {
    std::string names;
    for (const Layout& layout : layouts()) names += (names.empty() ? "" : ", ") + std::string(layout.info.name);
    return names;
}

}  // namespace

const std::vector<LayoutInfo>& traceLayouts() {
    static const std::vector<LayoutInfo> infos = [] {
        std::vector<LayoutInfo> list;
        for (const Layout& layout : layouts()) list.push_back(layout.info);
        return list;
    }();
    return infos;
}

std::optional<LayoutInfo> layoutNamed(std::string_view name) {
    for (const Layout& layout : layouts()) {
        if (layout.info.name == name) return layout.info;
    }
    return std::nullopt;
}

std::optional<std::string_view> detectLayout(std::string_view bytes) {
    for (const Layout& layout : layouts()) {
        if (layout.marks && layout.marks(bytes)) return layout.info.name;
    }
    const bool commaTable = isCommaTable(bytes);
    std::vector<const Layout*> fitting;
    for (const Layout& layout : layouts()) {
        if (layout.fits && layout.fits(bytes, commaTable)) fitting.push_back(&layout);
    }
    if (fitting.empty()) return std::nullopt;
    // Of two that fit, the one that explains more lines; at equal counts the earlier.
    const Layout* best = fitting.front();
    if (fitting.size() > 1) {
        std::size_t most = best->explains(bytes);
        for (std::size_t k = 1; k < fitting.size(); ++k) {
            const std::size_t explained = fitting[k]->explains(bytes);
            if (explained > most) {
                best = fitting[k];
                most = explained;
            }
        }
    }
    return best->info.name;
}

Result<std::vector<Trace>> readTraces(std::string bytes, const std::string& source, const ReadOptions& options) {
    // A byte-order mark, as Windows editors save one, is not part of the first line.
    if (bytes.rfind(byteOrderMark, 0) == 0) bytes.erase(0, byteOrderMark.size());
    std::optional<std::string_view> layout =
        options.format ? std::optional<std::string_view>(layoutNamed(*options.format)->name) : detectLayout(bytes);
    if (!layout) {
        if (bytes.empty()) return Problem{ProblemKind::invalid, source, 0, "holds no trace"};
        return Problem{ProblemKind::invalid, source, 0,
                       "fits none of the layouts pnpplot reads (tried " + triedLayouts() +
                           "); --format names one, --columns picks the columns"};
    }
    Result<std::vector<Trace>> input = readIn(*layout, std::move(bytes), source, options);
    if (!input) return input;
    for (const Trace& trace : *input.value) {
        auto above =
            std::count_if(trace.points.begin(), trace.points.end(), [](const TracePoint& p) { return p.level > 0; });
        if (static_cast<std::size_t>(above) * 2 > trace.points.size()) {
            Problem refused{ProblemKind::invalid, source, 0,
                            trace.caption +
                                ": most levels are above 0 dBc/Hz, which no measured noise is, so it is "
                                "not drawn; decimal commas read at a comma (-119,86) would give them: "
                                "--format names the layout, --columns the columns"};
            Result<std::vector<Trace>> problem(refused);
            problem.warnings = std::move(input.warnings);
            return problem;
        }
        if (trace.repeated > 0) {
            input.warnings.push_back({source, 0,
                                      trace.caption + ": " + std::to_string(trace.repeated) +
                                          (trace.repeated == 1 ? " point is at an offset" : " points are at offsets") +
                                          " given again later; the last of equal offsets is used"});
        }
    }
    return input;
}

}  // namespace csv2pnp
