#include "cli/conversion_driver.h"

#include <optional>

#include "banner.h"
#include "cli/carrier_frequency.h"
#include "cli/option_scanner.h"
#include "cli/wildcards.h"
#include "plot/plot_files.h"
#include "table/csv_table_reader.h"

namespace csv2pnp {

namespace {

constexpr const char* optionString = ":i:o:VvHh";

void printVerboseReport(std::ostream& out, const ConversionRun& run) {
    out << "Current path is " << currentDirectory().value_or("(unknown)") << "\n";
    out << "Carrier frequency: " << run.carrierFrequency << " Hz\n" << std::flush;
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

bool convertFile(const ConversionDriver& driver, const ConversionRun& run, const std::string& inputPath) {
    std::ostream& out = *driver.out;
    if (run.verbose) out << "File to convert: " << inputPath << std::endl;
    PlotFileNames names;
    names.baseName = baseNameOf(inputPath);
    UtcTime conversionTime = driver.clock();

    TableInput input = readMeasurementTable(inputPath, out, driver.readInput);
    if (input.status == InputStatus::notOpened) {
        out << "Could not open " << names.baseName << "\n" << std::flush;
        return true;
    }
    if (input.status == InputStatus::readFailed) {
        // A partial table would make plot files that look whole.
        out << "Could not read " << names.baseName << "\n" << std::flush;
        return false;
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
    writePlotFiles(data, imaginary, input.table, names, run.carrierFrequency, conversionTime, driver.clock);

    bool dataWritten = closeOutput(*dataFile, data);
    bool imaginaryWritten = closeOutput(*imaginaryFile, imaginary);
    if (!dataWritten) out << "Could not write " << names.dataFileName << "\n";
    if (!imaginaryWritten) out << "Could not write " << names.imaginaryFileName << "\n";
    out << std::flush;
    return dataWritten && imaginaryWritten;
}

int ConversionDriver::run(int argc, const char* const argv[]) const {
    ConversionRun run;
    *out << banner << std::endl;
    run.programPath = argc > 0 && argv[0] ? argv[0] : "";
    if (argc < 2) printUsage(*out, run.programPath);

    OptionScanner scanner;
    for (int option; (option = getopt(scanner, argc, argv, optionString)) != -1;) {
        switch (option) {
        case ':':
            *out << "option needs a value\n" << std::flush;
            break;
        case '?':
        case 'H':
        case 'h':
            printUsage(*out, run.programPath);
            return 0;
        case 'V':
        case 'v':
            run.verbose = true;
            break;
        case 'i':
            run.carrierFrequency = parseCarrierFrequency(scanner.optarg);
            break;
        default:
            printUsage(*err, run.programPath);
            return 1;
        }
    }

    if (run.verbose) printVerboseReport(*out, run);
    for (int i = scanner.optind; i < argc; ++i) {
        std::vector<std::string> paths = operandsKeepWildcards ? expandWildcards(argv[i]) : std::vector<std::string>{argv[i]};
        run.inputPaths.insert(run.inputPaths.end(), paths.begin(), paths.end());
    }
    for (const std::string& path : run.inputPaths) {
        if (!convertFile(*this, run, path)) return 1;
    }
    *out << "Done!" << std::endl;
    return 0;
}

}  // namespace csv2pnp
