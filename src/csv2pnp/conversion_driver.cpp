#include "csv2pnp/conversion_driver.h"

#include <optional>

#include "csv2pnp/carrier_frequency.h"
#include "files/base_name.h"
#include "files/wildcards.h"
#include "options/option_scanner.h"
#include "csv2pnp/plot_files.h"
#include "table/csv_table_reader.h"

namespace csv2pnp {

namespace {

constexpr const char* optionString = ":i:o:VvHh";

void printVerboseReport(std::ostream& out, const ConversionRun& run, const Host& host) {
    out << "Current path is " << host.currentDirectory(host.context).value_or("(unknown)") << "\n";
    out << "Carrier frequency: " << run.carrierFrequency << " Hz\n" << std::flush;
}

std::optional<OpenOutput> openOutput(const Host& host, const std::string& name, std::ostream& out) {
    Result<OpenOutput> file = createOutput(host, outputPath(name));
    if (!file) out << "Could not create " << name << "\n" << std::flush;
    return std::move(file.value);
}

// Closes the file and tells whether every line and the close itself succeeded.
bool closeWritten(OpenOutput& file, const PlotFileWriter& writer) {
    bool closed = !closeOutput(file);
    return closed && !writer.problem;
}

}  // namespace

void printUsage(std::ostream& stream, const std::string& programPath) {
    stream << "Usage is " << programPath << " [options] [file-list]\n";
    stream << "Options:\n";
    stream << "   -i <Carrier frequency>" << std::endl;
    stream << "   -v     verbose" << std::endl;
}

bool convertFile(const ConversionDriver& driver, const ConversionRun& run, const std::string& inputPath) {
    std::ostream& out = *driver.out;
    if (run.verbose) out << "File to convert: " << inputPath << std::endl;
    PlotFileNames names = plotFileNamesFor(baseNameOf(inputPath));
    const Host& host = driver.host;
    UtcTime conversionTime = host.now(host.context);

    Result<MeasurementTable> input = readMeasurementTable(inputPath, host);
    if (!input && input.problem->kind == ProblemKind::notOpened) {
        out << "Could not open " << names.baseName << "\n" << std::flush;
        return true;
    }
    if (!input) {
        // A partial table would make plot files that look whole.
        out << "Could not read " << names.baseName << "\n" << std::flush;
        return false;
    }
    const MeasurementTable& table = *input.value;
    out << "Read file = " << inputPath << " (" << rowCount(table) << " rows)\n" << std::flush;

    std::optional<OpenOutput> dataFile = openOutput(host, names.dataFileName, out);
    if (!dataFile) return false;
    out << "Write PN data to PNP-file = " << names.dataFileName << "\n" << std::flush;

    std::optional<OpenOutput> imaginaryFile = openOutput(host, names.imaginaryFileName, out);
    if (!imaginaryFile) {
        closeOutput(*dataFile);
        return false;
    }
    out << "Write PN floor data to PNP-file = " << names.imaginaryFileName << "\n" << std::flush;

    PlotFileWriter data = plotFileWriter(*dataFile);
    PlotFileWriter imaginary = plotFileWriter(*imaginaryFile);
    writePlotFiles(data, imaginary, table, names, run.carrierFrequency, conversionTime, host);

    bool dataWritten = closeWritten(*dataFile, data);
    bool imaginaryWritten = closeWritten(*imaginaryFile, imaginary);
    if (!dataWritten) out << "Could not write " << names.dataFileName << "\n";
    if (!imaginaryWritten) out << "Could not write " << names.imaginaryFileName << "\n";
    out << std::flush;
    return dataWritten && imaginaryWritten;
}

int ConversionDriver::run(int argc, const char* const argv[]) const {
    ConversionRun run;
    *out << plotformat::banner << std::endl;
    run.programPath = argc > 0 && argv[0] ? argv[0] : "";
    if (argc < 2) printUsage(*out, run.programPath);

    OptionScanner scanner;
    for (int option; (option = getopt(scanner, argc, argv, optionString)) != -1;) {
        switch (option) {
        case ':': *out << "option needs a value\n" << std::flush; break;
        case '?':
        case 'H':
        case 'h': printUsage(*out, run.programPath); return 0;
        case 'V':
        case 'v': run.verbose = true; break;
        case 'i': run.carrierFrequency = parseCarrierFrequency(scanner.optarg); break;
        case 'o':
            // The outputs are named after the inputs: -o is refused, its usage text on standard error.
            printUsage(*err, run.programPath);
            return 1;
        }
    }

    if (run.verbose) printVerboseReport(*out, run, host);
    for (int i = scanner.optind; i < argc; ++i) {
        std::vector<std::string> paths =
            operandsKeepWildcards ? expandWildcards(argv[i], host) : std::vector<std::string>{argv[i]};
        run.inputPaths.insert(run.inputPaths.end(), paths.begin(), paths.end());
    }
    for (const std::string& path : run.inputPaths) {
        if (!convertFile(*this, run, path)) return 1;
    }
    *out << "Done!" << std::endl;
    return 0;
}

}  // namespace csv2pnp
