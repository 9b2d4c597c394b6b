// The units that a table's header cells and an export's records name: the offsets', the levels'
// and a comment's, and the names that make a column the analyzer's floor.
#pragma once

#include <optional>
#include <string_view>

namespace csv2pnp {

// The unit in brackets at the end of a header cell: "Offset (kHz)" gives kHz, "L [dBc/Hz]"
// dBc/Hz; nothing when the cell ends in no brackets.
std::optional<std::string_view> unitInBrackets(std::string_view cell);
// The cell without the unit in brackets at its end, trimmed: "PN (avg) [dBc/Hz]" gives
// "PN (avg)".
std::string_view withoutUnit(std::string_view cell);

// Whether the text holds the word, not as part of a longer one (ASCII letters and digits make
// words, whatever the locale).
bool containsWord(std::string_view text, std::string_view word);

// Hz, kHz, MHz or GHz as a factor to hertz; nothing for any other unit.
std::optional<double> hertzPer(std::string_view unit);

// dBc/Hz, in any case: the unit of phase noise.
bool isDbcPerHz(std::string_view unit);

// A column name that says floor: "Floor", "Noise floor", "System floor", "Sensitivity", in
// any case, with or without a unit after it.
bool namesFloor(std::string_view name);

// The amplitude unit a comment line names ("% ... amplitude units: DBM" names DBM); nothing
// when it names none.
std::optional<std::string_view> amplitudeUnitIn(std::string_view comment);

}  // namespace csv2pnp
