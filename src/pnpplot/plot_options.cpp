#include "pnpplot/plot_options.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "files/base_name.h"
#include "files/wildcards.h"
#include "options/option_scanner.h"
#include "platform/platform.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

constexpr const char* shortOptions = ":ho:r:c:n:t:m:j:";

// Each returns the error in the value, empty when it is right.
std::string takeRange(const std::string& text, PlotOptions& options) {
    std::string start = "-r " + text + ": ";
    std::size_t colon = text.find(':');
    if (colon == std::string::npos) return start + "a range is F1:F2, two offsets in Hz";
    std::string_view parts[] = {std::string_view(text).substr(0, colon), std::string_view(text).substr(colon + 1)};
    double ends[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        std::optional<double> value = parseSiValue(parts[i]);
        if (!value) return start + "'" + std::string(parts[i]) + "' is not an offset in Hz above 0";
        ends[i] = *value;
    }
    if (!(ends[0] < ends[1])) return start + "the range must rise";
    options.range = OffsetBand{ends[0], ends[1]};
    return "";
}

std::string takeFrequency(char letter, const std::string& text, std::optional<double>& into) {
    into = parseSiValue(text);
    if (into) return "";
    return std::string("-") + letter + " " + text + ": '" + text + "' is not a frequency in Hz above 0";
}

std::string takeNumber(const std::string& name, const std::string& text, std::optional<double>& into,
                       const char* unit) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        return name + " " + text + ": '" + text + "' is not a number of " + unit;
    }
    into = value;
    return "";
}

struct LongOption {
    const char* name;
    bool takesValue;
};
constexpr LongOption longOptions[] = {
    {"--help", false},          {"--version", false}, {"--omit-spurs", false}, {"--subtract-floor", false},
    {"--spur-threshold", true}, {"--margin", true},   {"--dark", false},       {"--smooth", true},
    {"--html", true},           {"--adev", false}};

// A long option at argv[index], "--name" or "--name=value", its value the next argument when
// it takes one; moves index past it.
std::string takeLongOption(int argc, const char* const argv[], int& index, PlotOptions& options) {
    std::string_view argument = argv[index++];
    std::string_view name = argument.substr(0, argument.find('='));
    const LongOption* option = nullptr;
    for (const LongOption& known : longOptions) {
        if (name == known.name) option = &known;
    }
    if (!option) return "unknown option '" + std::string(name) + "'";
    std::optional<std::string> value;
    if (name.size() < argument.size()) value = std::string(argument.substr(name.size() + 1));
    if (option->takesValue && !value) {
        if (index >= argc) return "option " + std::string(name) + " needs a value";
        value = argv[index++];
    }
    if (!option->takesValue && value) return "option " + std::string(name) + " takes no value";
    if (name == "--help") options.help = true;
    if (name == "--version") options.version = true;
    if (name == "--omit-spurs") options.omitSpurs = true;
    if (name == "--subtract-floor") options.subtractFloor = true;
    if (name == "--spur-threshold") {
        std::string error = takeNumber(std::string(name), *value, options.spurThreshold, "dB");
        if (error.empty() && *options.spurThreshold < 0)
            error = std::string(name) + " " + *value + ": it must not be below 0 dB";
        return error;
    }
    if (name == "--margin") return takeNumber(std::string(name), *value, options.marginThreshold, "dB");
    if (name == "--dark") options.dark = true;
    if (name == "--adev") options.allanDeviation = true;
    if (name == "--html") options.html = *value;
    if (name == "--smooth") {
        std::string error = takeNumber(std::string(name), *value, options.smoothing, "decades");
        if (error.empty() && !(*options.smoothing > 0 && *options.smoothing <= 10)) {
            error = std::string(name) + " " + *value + ": the span must be above 0 and at most 10 decades";
        }
        return error;
    }
    return "";
}

bool endsWithHtml(const std::string& path) {
    std::string end = path.size() >= 5 ? path.substr(path.size() - 5) : "";
    for (char& c : end) c = static_cast<char>(c >= 'A' && c <= 'Z' ? c - 'A' + 'a' : c);
    return end == ".html";
}

}  // namespace

ParsedOptions parsePlotOptions(int argc, const char* const argv[]) {
    ParsedOptions parsed;
    PlotOptions& options = parsed.options;
    OptionScanner scanner;
    for (;;) {
        // Long options stand alone; a value of -o or -t may spell the same text.
        if (!scanner.cursor && scanner.optind < argc && std::strncmp(argv[scanner.optind], "--", 2) == 0 &&
            argv[scanner.optind][2] != '\0') {
            parsed.error = takeLongOption(argc, argv, scanner.optind, options);
            if (options.help || options.version || !parsed.error.empty()) return parsed;
            continue;
        }
        int option = getopt(scanner, argc, argv, shortOptions);
        if (option == -1) break;
        std::string value = scanner.optarg ? scanner.optarg : "";
        switch (option) {
        case 'h': options.help = true; return parsed;
        case 'o': options.output = value; break;
        case 'r': parsed.error = takeRange(value, options); break;
        case 'c': parsed.error = takeFrequency('c', value, options.carrier); break;
        case 'n': parsed.error = takeFrequency('n', value, options.normaliseTo); break;
        case 't': options.title = value; break;
        case 'm': options.mask = value; break;
        case 'j': options.json = value; break;
        case ':': parsed.error = std::string("option ") + argv[argc - 1] + " needs a value"; break;
        default:
            parsed.error = std::string("unknown option in '") +
                           (scanner.cursor ? argv[scanner.optind] : argv[scanner.optind - 1]) + "'";
            break;
        }
        if (!parsed.error.empty()) return parsed;
    }
    // The options end at the first file; an option given after it would be taken for a file.
    bool endedByDashes = scanner.optind > 1 && std::strcmp(argv[scanner.optind - 1], "--") == 0;
    for (int i = scanner.optind + 1; i < argc && !endedByDashes; ++i) {
        if (argv[i][0] == '-' && argv[i][1] != '\0') {
            parsed.error = std::string("options go before the files: '") + argv[i] + "' follows '" +
                           argv[scanner.optind] + "' (after --, names that start with - are files)";
            return parsed;
        }
    }
    for (int i = scanner.optind; i < argc; ++i) {
        std::vector<std::string> paths =
            operandsKeepWildcards ? expandWildcards(argv[i]) : std::vector<std::string>{argv[i]};
        options.inputs.insert(options.inputs.end(), paths.begin(), paths.end());
    }
    bool outputIsHtml = endsWithHtml(options.output);
    if (options.inputs.empty()) {
        parsed.error = "no input file";
    } else if (options.output == "-" && options.json == "-") {
        parsed.error = "-o - and -j - cannot both write to standard output";
    } else if (outputIsHtml && options.html) {
        parsed.error = "-o " + options.output + " and --html both name the HTML report";
    } else if (outputIsHtml) {
        // The report alone: it holds the chart.
        options.html = options.output;
        options.output.clear();
    } else if (options.output.empty()) {
        // Named after the first input, in the current directory.
        options.output = baseNameOf(options.inputs.front()) + ".svg";
    }
    return parsed;
}

}  // namespace csv2pnp
