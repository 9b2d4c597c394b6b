// What a reader did not use of an input is a warning that names the file and the line, never
// silence: a column it ignored, lines it skipped, a unit it did not know. The words of these
// warnings, and of the refusals of levels in another unit, stand here once.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

#include "problems/problem.h"

namespace csv2pnp {

// Lines of one kind that a reader did not use: the first of them, what it holds, how many.
struct LeftOutLines {
    std::size_t first = 0;  // line, from 1
    std::size_t last = 0;   // the line added last
    std::size_t count = 0;  // lines, each counted once however many of its cells are left out
    std::string text;       // the first of them, as the warning quotes it
    void add(std::size_t line, std::string_view content);
};

// At the first line: "'<text>' <why>", and "(and 4 more lines like it)"; nothing for no line.
void warnOfLeftOut(std::vector<Warning>& warnings, const std::string& source, const LeftOutLines& lines,
                   std::string_view why);

// Why lines are left out.
inline constexpr std::string_view noOffsetInRow = "holds no offset where the offsets stand: the row is not read";
inline constexpr std::string_view noLevelInCell = "holds no number where a level stands: that point is left out";
inline constexpr std::string_view cellsBeyondRead = "holds cells beyond the columns read: they are not read";
inline constexpr std::string_view notAPlotFileLine = "is no comment, record or TRA line: it is not read";
inline constexpr std::string_view outsideAnyBlock = "stands in no trace block that pnpplot reads: it is not read";
inline constexpr std::string_view notIntegratedFigures =
    "is no row of integrated figures that pnpplot reads: it is not read";

// "belongs to window 3 'Spot Noise', which pnpplot does not read: it is not read".
std::string inWindowNotRead(std::string_view window);

// "column 4 'Temperature (C)' is not read: ..." and its reasons.
std::string columnNotRead(std::size_t column, std::string_view name, std::string_view why);
inline constexpr std::string_view namesNoUnit = "it names no unit";
inline constexpr std::string_view secondOffsetColumn = "the offsets stand in an earlier column";
std::string unitNotDbcPerHz(std::string_view unit);  // "its unit, dBm, is not dBc/Hz"

// The levels of a column chosen by --columns whose header names another unit.
std::string columnReadAsDbcPerHz(std::size_t column, std::string_view name, std::string_view unit);

// An input refused: its levels are in another unit, and no column names dBc/Hz.
std::string levelsInOtherUnit(std::size_t column, std::string_view name, std::string_view unit);

// A comment that names an amplitude unit other than dBc/Hz; the warning of one, if the line
// is such a comment.
std::string amplitudeUnitNamed(std::string_view unit);
void warnOfAmplitudeUnit(std::string_view line, std::size_t number, const std::string& source,
                         std::vector<Warning>& warnings);

// An R&S trace whose y-Unit is not dBc/Hz; mode is the export's Mode when it says spectrum.
std::string yUnitRefused(std::string_view unit, std::string_view mode);
// An R&S export in a spectrum mode that names no y-Unit of its traces.
std::string spectrumModeRefused(std::string_view mode);

// An R&S trace block that is not blank but holds no values.
std::string traceHoldsNoValues(std::string_view trace);

// A row of an R&S export's integrated figures that no trace read can take.
std::string integratedTraceMissing(std::string_view trace);
// A row whose integrated noise is not in dBc.
std::string integratedNoiseUnit(std::string_view unit);

}  // namespace csv2pnp
