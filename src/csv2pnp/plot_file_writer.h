// Writes the lines of one plot file to a file or a string it does not own.
#pragma once

#include <initializer_list>
#include <string>
#include <string_view>

#include "platform/file_system.h"

namespace csv2pnp {

// Hands one whole line, CR LF included, to where the writer puts it; false when it failed.
using LineSink = bool (*)(void* target, std::string_view bytes);

struct PlotFileWriter {
    LineSink sink;
    void* target;
    bool failed;  // a line was lost; later lines are not tried
};

// Each line is one write of the host, so a reader of a half-written file sees whole lines.
PlotFileWriter fileWriter(OpenOutput& file);

// Appends the lines to the string, for checks of the bytes the file would get.
PlotFileWriter stringWriter(std::string& bytes);

// Writes the text and CR LF, which the viewer expects on every host.
void writeLine(PlotFileWriter& writer, std::string_view text);

// Writes a line that already ends in CR LF as it is, without copying it.
void writeEndedLine(PlotFileWriter& writer, std::string_view line);

// A record group whose lines are the same in both files: all of it to the data file, then
// to the imaginary-part file.
void writeBoth(PlotFileWriter& data, PlotFileWriter& imaginary, std::initializer_list<std::string_view> lines);

}  // namespace csv2pnp
