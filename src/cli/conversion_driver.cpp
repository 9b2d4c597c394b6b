#include "cli/conversion_driver.h"

#include <optional>

#include "cli/carrier_frequency.h"
#include "cli/option_scanner.h"
#include "plot/plot_files.h"
#include "table/csv_table_reader.h"
#include "version.h"

namespace csv2pnp {

namespace {

constexpr const char* optionString = ":i:o:VvHh";

void printVerboseReport(const ConversionDriver& driver) {
    std::ostream& out = *driver.out;
    out << "Current path is " << currentDirectory().value_or("(unknown)") << "\n";
    out << "Carrier frequency: " << driver.carrierFrequency << " Hz\n" << std::flush;
}

std::optional<OutputFile> openOutput(const std::string& name, std::ostream& out) {
    std::optional<OutputFile> file = createOutputFile(outputPath(name));
    if (!file) out << "Could not create " << name << "\n" << std::flush;
    return file;
}

// Closes the file and tells whether every line and the close itself succeeded.
bool closeOutput(OutputFile file, const PlotFileWriter& writer) {
    bool closed = closeOutputFile(file);
    return closed && !writer.failed;
}

}  // namespace

void printUsage(std::ostream& stream, const std::string& programPath) {
    stream << "Usage is " << programPath << " [options] [file-list]\n";
    stream << "Options:\n";
    stream << "   -i <Carrier frequency>" << std::endl;
    stream << "   -v     verbose" << std::endl;
}

std::string baseNameOf(const std::string& path) {
    std::size_t separator = path.find_last_of("/\\");
    return separator == std::string::npos ? path : path.substr(separator + 1);
}

std::string outputFileName(const std::string& baseName, const std::string& suffix) {
    return ".\\" + baseName + suffix;
}

bool convertFile(const ConversionDriver& driver, const std::string& inputPath) {
    std::ostream& out = *driver.out;
    if (driver.verbose) out << "File to convert: " << inputPath << std::endl;
    PlotFileNames names;
    names.baseName = baseNameOf(inputPath);
    UtcTime conversionTime = driver.clock();

    std::optional<MeasurementTable> table = readMeasurementTable(inputPath, out);
    if (!table) {
        out << "Could not open " << names.baseName << "\n" << std::flush;
        return true;
    }
    out << std::flush;

    names.dataFileName = outputFileName(names.baseName, ".pnp");
    std::optional<OutputFile> dataFile = openOutput(names.dataFileName, out);
    if (!dataFile) return false;
    out << "Write PN data to PNP-file = " << names.dataFileName << "\n" << std::flush;

    names.imaginaryFileName = outputFileName(names.baseName, ".img.pnp");
    std::optional<OutputFile> imaginaryFile = openOutput(names.imaginaryFileName, out);
    if (!imaginaryFile) {
        closeOutputFile(*dataFile);
        return false;
    }
    out << "Write PN floor data to PNP-file = " << names.imaginaryFileName << "\n" << std::flush;

    PlotFileWriter data = fileWriter(*dataFile);
    PlotFileWriter imaginary = fileWriter(*imaginaryFile);
    writePlotFiles(data, imaginary, *table, names, driver.carrierFrequency, conversionTime, driver.clock);

    bool dataWritten = closeOutput(*dataFile, data);
    bool imaginaryWritten = closeOutput(*imaginaryFile, imaginary);
    if (!dataWritten) out << "Could not write " << names.dataFileName << "\n";
    if (!imaginaryWritten) out << "Could not write " << names.imaginaryFileName << "\n";
    out << std::flush;
    return dataWritten && imaginaryWritten;
}

int ConversionDriver::run(int argc, const char* const argv[]) {
    verbose = false;
    carrierFrequency = defaultCarrierFrequency;
    *out << banner << std::endl;
    programPath = argc > 0 && argv[0] ? argv[0] : "";
    if (argc < 2) printUsage(*out, programPath);

    OptionScanner scanner;
    for (int option; (option = getopt(scanner, argc, argv, optionString)) != -1;) {
        switch (option) {
        case ':':
            *out << "option needs a value\n" << std::flush;
            break;
        case '?':
        case 'H':
        case 'h':
            printUsage(*out, programPath);
            return 0;
        case 'V':
        case 'v':
            verbose = true;
            break;
        case 'i':
            carrierFrequency = parseCarrierFrequency(scanner.optarg);
            break;
        default:
            printUsage(*err, programPath);
            return 1;
        }
    }

    if (verbose) printVerboseReport(*this);
    if (scanner.optind < argc) inputPaths.assign(argv + scanner.optind, argv + argc);
    for (const std::string& path : inputPaths) {
        if (!convertFile(*this, path)) return 1;
    }
    *out << "Done!" << std::endl;
    return 0;
}

}  // namespace csv2pnp
