// Reads the traces of one input: a plot file or an analyzer's export, its layout recognised
// from its content, never from its name, unless the user names it.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "problems/problem.h"
#include "traces/pn2060_reader.h"
#include "traces/trace.h"

namespace csv2pnp {

struct LayoutInfo {
    std::string_view name;         // as --format takes it and the JSON gives it
    std::string_view title;        // as the summary says it: "a Rohde & Schwarz export"
    std::string_view description;  // as --help says it
};

// Every layout pnpplot reads, in the order of the rule that chooses between them.
const std::vector<LayoutInfo>& traceLayouts();

// The layout whose name this is, nothing when none is.
std::optional<LayoutInfo> layoutNamed(std::string_view name);

// The layout the content is in, by the README's rule: the first of pnp, rs and keysight that
// the file's first line marks; else, of header, pn2060 and columns, the one that fits, and of
// two that fit the one that explains more of the file's lines, at equal counts the earlier.
// Nothing when none fits.
std::optional<std::string_view> detectLayout(std::string_view bytes);

// What the command line says of how to read an input: its layout (--format) and its columns.
struct ReadOptions {
    std::optional<std::string> format;
    std::optional<ColumnChoice> columns;
};

// The input's traces, each with at least one point, settled, in its layout (a byte-order mark
// at the start left out). A trace whose levels are mostly above 0 dBc/Hz, which no measured
// noise is, makes the input a problem that says why (decimal commas split at a comma); the
// warnings name a trace whose rows mostly hold a single cell, or points at repeated offsets.
Result<std::vector<Trace>> readTraces(std::string bytes, const std::string& source, const ReadOptions& options = {});

}  // namespace csv2pnp
