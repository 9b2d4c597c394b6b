#include "pnpplot/plot_options.h"

#include <cstring>

#include "files/base_name.h"
#include "options/option_scanner.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

bool parseRange(const std::string& text, PlotOptions& options) {
    std::size_t colon = text.find(':');
    if (colon == std::string::npos) return false;
    std::optional<double> from = parseSiValue(std::string_view(text).substr(0, colon));
    std::optional<double> to = parseSiValue(std::string_view(text).substr(colon + 1));
    if (!from || !to || !(*from < *to)) return false;
    options.range = OffsetBand{*from, *to};
    return true;
}

}  // namespace

ParsedOptions parsePlotOptions(int argc, const char* const argv[]) {
    ParsedOptions parsed;
    PlotOptions& options = parsed.options;
    OptionScanner scanner;
    for (;;) {
        // Long options stand alone; a value of -o or -t may spell the same text.
        if (!scanner.cursor && scanner.optind < argc) {
            const char* argument = argv[scanner.optind];
            if (std::strcmp(argument, "--help") == 0) options.help = true;
            if (std::strcmp(argument, "--version") == 0) options.version = true;
            if (options.help || options.version) return parsed;
        }
        int option = getopt(scanner, argc, argv, ":o:r:c:t:");
        if (option == -1) break;
        std::string value = scanner.optarg ? scanner.optarg : "";
        switch (option) {
        case 'o':
            options.output = value;
            break;
        case 'r':
            if (!parseRange(value, options)) parsed.error = "-r '" + value + "' is not a range F1:F2 of offsets in Hz";
            break;
        case 'c':
            options.carrier = parseSiValue(value);
            if (!options.carrier) parsed.error = "-c '" + value + "' is not a frequency in Hz";
            break;
        case 't':
            options.title = value;
            break;
        case ':':
            parsed.error = std::string("option ") + argv[argc - 1] + " needs a value";
            break;
        default:
            parsed.error = std::string("unknown option in '") +
                           (scanner.cursor ? argv[scanner.optind] : argv[scanner.optind - 1]) + "'";
            break;
        }
        if (!parsed.error.empty()) return parsed;
    }
    options.inputs.assign(argv + scanner.optind, argv + argc);
    if (options.inputs.empty()) parsed.error = "no input file";
    if (options.output.empty() && !options.inputs.empty()) {
        // Named after the first input, in the current directory.
        options.output = baseNameOf(options.inputs.front()) + ".svg";
    }
    return parsed;
}

}  // namespace csv2pnp
