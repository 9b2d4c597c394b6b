#include "csv2pnp/plot_files.h"

#include <string_view>

#include "csv2pnp/decade_records.h"
#include "plot_format/plot_format.h"
#include "plot_format/time_stamp.h"

namespace csv2pnp {

using namespace plotformat;

namespace {

void writeGroup(PlotFileWriter& writer, std::initializer_list<std::string_view> lines) {
    for (std::string_view line : lines) writeLine(writer, line);
}

std::string joined(std::string_view a, std::string_view b) { return std::string(a) + std::string(b); }

}  // namespace

void writePlotFiles(PlotFileWriter& data, PlotFileWriter& imaginary, const MeasurementTable& table,
                    const PlotFileNames& names, std::uint32_t carrierFrequency, const UtcTime& conversionTime,
                    const Host& host) {
    writeGroup(data, {commentLine, joined(fileNameComment, names.dataFileName), commentLine});
    writeGroup(imaginary, {commentLine, joined(fileNameComment, names.imaginaryFileName), commentLine});
    writeBoth(data, imaginary, {joined(generatorComment, banner)});
    writeBoth(data, imaginary, {authorComment, commentLine, ""});
    const std::string caption = joined(captionRecord, names.baseName);
    writeLine(data, caption);
    writeLine(imaginary, joined(caption, imaginaryCaptionSuffix));
    writeBoth(data, imaginary, {joined(timeRecord, formatTimeStamp(conversionTime))});
    writeBoth(data, imaginary, {instrumentRecord});
    writeBoth(data, imaginary, {revisionRecord, ""});
    writeRangeRecord(table, data, imaginary);
    writeDecadeCountRecord(table, data, imaginary);
    writeBoth(data, imaginary, {overloadRecord});
    writeBoth(data, imaginary, {intermediateFrequencyRecord});
    writeBoth(data, imaginary, {localOscillatorRecord});
    writeBoth(data, imaginary, {multiplierRecord});
    writeBoth(data, imaginary, {videoBandwidthRecord, ""});
    writeBoth(data, imaginary, {joined(carrierRecord, std::to_string(carrierFrequency)) + std::string(carrierUnit)});
    writeBoth(data, imaginary, {attenuationRecord});
    writeStartDecadeRecord(table, data, imaginary);
    writeBoth(data, imaginary, {noiseCorrectionRecord});
    writeTraceSection(table, carrierFrequency, data, imaginary);
    UtcTime endTime = host.now(host.context);
    writeBoth(data, imaginary, {joined(endRecord, formatTimeStamp(endTime))});
}

}  // namespace csv2pnp
