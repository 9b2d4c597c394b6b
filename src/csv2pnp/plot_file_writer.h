// Writes the lines of one plot file through the host, each line one write.
#pragma once

#include <initializer_list>
#include <optional>
#include <string_view>

#include "platform/host.h"

namespace csv2pnp {

struct PlotFileWriter {
    OpenOutput* output;
    std::optional<Problem> problem;  // the first line that was lost; later lines are not tried
};

// Each line is one write of the host, so a reader of a half-written file sees whole lines.
inline PlotFileWriter plotFileWriter(OpenOutput& output) { return PlotFileWriter{&output, std::nullopt}; }

// Writes the text and CR LF, which the viewer expects on every host.
void writeLine(PlotFileWriter& writer, std::string_view text);

// Writes a line that already ends in CR LF as it is, without copying it.
void writeEndedLine(PlotFileWriter& writer, std::string_view line);

// A record group whose lines are the same in both files: all of it to the data file, then
// to the imaginary-part file.
void writeBoth(PlotFileWriter& data, PlotFileWriter& imaginary, std::initializer_list<std::string_view> lines);

}  // namespace csv2pnp
