#include "pnpplot/plot_options.h"

#include <charconv>
#include <cmath>
#include <cstring>
#include <string_view>

#include "chart/chart_layout.h"
#include "files/base_name.h"
#include "files/wildcards.h"
#include "options/option_scanner.h"
#include "text/utf8_text.h"
#include "units/si_units.h"

namespace csv2pnp {

namespace {

Problem usage(std::string text) { return Problem{ProblemKind::invalid, "", 0, std::move(text)}; }

// "F1:F2", two offsets in Hz with SI suffixes, rising.
Result<OffsetBand> offsetRange(const std::string& option, const std::string& text) {
    std::string start = option + " " + text + ": ";
    std::size_t colon = text.find(':');
    if (colon == std::string::npos) return usage(start + "a range is F1:F2, two offsets in Hz");
    std::string_view parts[] = {std::string_view(text).substr(0, colon), std::string_view(text).substr(colon + 1)};
    double ends[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        std::optional<double> value = parseSiValue(parts[i]);
        if (!value) return usage(start + "'" + std::string(parts[i]) + "' is not an offset in Hz above 0");
        ends[i] = *value;
    }
    if (!(ends[0] < ends[1])) return usage(start + "the range must rise");
    return OffsetBand{ends[0], ends[1]};
}

std::optional<Problem> takeRange(PlotOptions& options, const std::string& text) {
    Result<OffsetBand> band = offsetRange("-r", text);
    if (!band) return band.problem;
    // -r again adds a band: every band's figures are given, the first's also on their own.
    if (options.analysis.band) {
        options.analysis.moreBands.push_back(*band.value);
    } else {
        options.analysis.band = band.value;
    }
    return std::nullopt;
}

std::optional<Problem> takeFrequency(const char* option, const std::string& text, std::optional<double>& into) {
    into = parseSiValue(text);
    if (into) return std::nullopt;
    return usage(std::string(option) + " " + text + ": '" + text + "' is not a frequency in Hz above 0");
}

Result<double> number(const char* option, const std::string& text, const char* unit) {
    double value = 0;
    const char* end = text.data() + text.size();
    auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || !std::isfinite(value)) {
        return usage(std::string(option) + " " + text + ": '" + text + "' is not a number of " + unit);
    }
    return value;
}

std::optional<Problem> takeSpurThreshold(PlotOptions& options, const std::string& text) {
    Result<double> value = number("--spur-threshold", text, "dB");
    if (!value) return value.problem;
    if (*value.value < 0) return usage("--spur-threshold " + text + ": it must not be below 0 dB");
    options.analysis.spurThreshold = *value.value;
    return std::nullopt;
}

std::optional<Problem> takeSpurTreatment(PlotOptions& options, const std::string& text) {
    for (SpurTreatment treatment : {SpurTreatment::measured, SpurTreatment::omit, SpurTreatment::power}) {
        if (text == spurTreatmentName(treatment)) {
            options.analysis.spurs = treatment;
            return std::nullopt;
        }
    }
    return usage("--spurs " + text + ": the spurs are taken as measured, omit or power");
}

std::optional<Problem> takeFormat(PlotOptions& options, const std::string& text) {
    if (layoutNamed(text)) {
        options.next.read.format = text;
        return std::nullopt;
    }
    std::string names;
    for (const LayoutInfo& layout : traceLayouts()) names += (names.empty() ? "" : ", ") + std::string(layout.name);
    return usage("--format " + text + ": pnpplot reads the layouts " + names);
}

// "O,N[,F]": the columns, from 1, of the offset, the phase noise and the floor.
std::optional<Problem> takeColumns(PlotOptions& options, const std::string& text) {
    std::vector<std::size_t> numbers;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t comma = std::min(text.find(',', start), text.size());
        std::size_t column = 0;
        auto [end, error] = std::from_chars(text.data() + start, text.data() + comma, column);
        if (error != std::errc() || end != text.data() + comma || column == 0) {
            return usage("--columns " + text +
                         ": the columns, from 1, of the offset, the phase noise and the floor, "
                         "such as 1,2 or 1,2,3");
        }
        numbers.push_back(column - 1);
        start = comma + 1;
    }
    if (numbers.size() < 2 || numbers.size() > 3) {
        return usage("--columns " + text + ": two or three columns: the offset, the phase noise and the floor");
    }
    options.next.read.columns = ColumnChoice{
        numbers[0], numbers[1], numbers.size() == 3 ? std::optional<std::size_t>(numbers[2]) : std::nullopt};
    return std::nullopt;
}

// "1,10,100,1k": offsets with the SI suffixes of -r.
std::optional<Problem> takeSpots(PlotOptions& options, const std::string& text) {
    std::vector<double> offsets;
    for (std::size_t start = 0; start <= text.size();) {
        std::size_t comma = std::min(text.find(',', start), text.size());
        std::string_view part = std::string_view(text).substr(start, comma - start);
        std::optional<double> offset = parseSiValue(part);
        if (!offset) return usage("--spot " + text + ": '" + std::string(part) + "' is not an offset in Hz above 0");
        offsets.push_back(*offset);
        start = comma + 1;
    }
    options.analysis.spots = std::move(offsets);
    return std::nullopt;
}

std::optional<Problem> takeDensity(PlotOptions& options, const std::string& text) {
    std::optional<Density> density = densityNamed(text);
    if (!density) return usage("--density " + text + ": one of L, Sphi, Snu, Sy and Sx");
    options.analysis.density = *density;
    return std::nullopt;
}

std::optional<Problem> takeRelativeTo(PlotOptions& options, const std::string& text) {
    std::size_t position = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), position);
    if (text.empty() || error != std::errc() || end != text.data() + text.size() || position == 0) {
        return usage("--relative-to " + text + ": the place of an input on the command line, from 1");
    }
    options.analysis.relativeTo = position - 1;
    return std::nullopt;
}

std::optional<Problem> takeMargin(PlotOptions& options, const std::string& text) {
    Result<double> value = number("--margin", text, "dB");
    if (!value) return value.problem;
    options.analysis.marginThreshold = *value.value;
    return std::nullopt;
}

std::optional<Problem> takeSmoothing(PlotOptions& options, const std::string& text) {
    Result<double> value = number("--smooth", text, "decades");
    if (!value) return value.problem;
    if (!(*value.value > 0 && *value.value <= 10)) {
        return usage("--smooth " + text + ": the span must be above 0 and at most 10 decades");
    }
    options.analysis.smoothing = *value.value;
    return std::nullopt;
}

// Options that set a text or a switch.
template <std::optional<std::string> PlotOptions::*field>
std::optional<Problem> takeText(PlotOptions& options, const std::string& text) {
    options.*field = text;
    return std::nullopt;
}

template <bool PlotOptions::*field>
std::optional<Problem> takeSwitch(PlotOptions& options, const std::string&) {
    options.*field = true;
    return std::nullopt;
}

template <bool AnalysisOptions::*field>
std::optional<Problem> takeAnalysisSwitch(PlotOptions& options, const std::string&) {
    options.analysis.*field = true;
    return std::nullopt;
}

// "L1:L2", two levels in dB, rising; a level may be negative.
std::optional<Problem> takeLevelRange(PlotOptions& options, const std::string& text) {
    const std::string start = "--y-range " + text + ": ";
    const std::size_t colon = text.find(':', 1);
    if (colon == std::string::npos) return usage(start + "a range of levels is L1:L2, in dB");
    const std::string parts[] = {text.substr(0, colon), text.substr(colon + 1)};
    double ends[2] = {0, 0};
    for (int i = 0; i < 2; ++i) {
        Result<double> value = number("--y-range", parts[i], "dB");
        if (!value) return usage(start + "'" + parts[i] + "' is not a level in dB");
        ends[i] = *value.value;
    }
    if (!(ends[0] < ends[1])) return usage(start + "the range must rise");
    options.levelRange = std::pair{ends[0], ends[1]};
    return std::nullopt;
}

// "WxH" in pixels.
std::optional<Problem> takeSize(PlotOptions& options, const std::string& text) {
    const std::size_t x = text.find_first_of("xX");
    int sides[2] = {0, 0};
    const std::string parts[] = {text.substr(0, x), x == std::string::npos ? "" : text.substr(x + 1)};
    for (int i = 0; i < 2; ++i) {
        auto [end, error] = std::from_chars(parts[i].data(), parts[i].data() + parts[i].size(), sides[i]);
        if (parts[i].empty() || error != std::errc() || end != parts[i].data() + parts[i].size()) {
            return usage("--size " + text + ": the canvas is WxH in pixels, such as 1080x600");
        }
    }
    if (sides[0] < minimumSize.first || sides[1] < minimumSize.second || sides[0] > 20000 || sides[1] > 20000) {
        return usage("--size " + text + ": the canvas is from " + std::to_string(minimumSize.first) + "x" +
                     std::to_string(minimumSize.second) + " to 20000x20000 pixels");
    }
    options.size = std::pair{sides[0], sides[1]};
    return std::nullopt;
}

template <bool DeviationsAsked::*field>
std::optional<Problem> takeDeviation(PlotOptions& options, const std::string&) {
    options.analysis.deviations.*field = true;
    return std::nullopt;
}

std::optional<Problem> takeTaus(PlotOptions& options, const std::string& text) {
    if (text != "1" && text != "1-2-5") return usage("--tau " + text + ": 1 for one tau a decade, 1-2-5 for three");
    options.analysis.deviations.threePerDecade = text == "1-2-5";
    return std::nullopt;
}

const std::vector<OptionSpec> optionTable = {
    {nullptr, 'o', "FILE",
     [](PlotOptions& options, const std::string& text) -> std::optional<Problem> {
         options.output = text;
         return std::nullopt;
     }},
    {"--html", '\0', "FILE", takeText<&PlotOptions::html>},
    {nullptr, 'r', "F1:F2", takeRange},
    {nullptr, 'c', "HZ",
     [](PlotOptions& options, const std::string& text) { return takeFrequency("-c", text, options.next.carrier); },
     true},
    {nullptr, 'l', "LABEL",
     [](PlotOptions& options, const std::string& text) -> std::optional<Problem> {
         options.next.label = text;
         return std::nullopt;
     },
     true},
    {"--format", '\0', "NAME", takeFormat, true},
    {"--columns", '\0', "O,N[,F]", takeColumns, true},
    {nullptr, 'n', "HZ",
     [](PlotOptions& options, const std::string& text) {
         return takeFrequency("-n", text, options.analysis.normaliseTo);
     }},
    {nullptr, 't', "TEXT", takeText<&PlotOptions::title>},
    {"--dark", '\0', nullptr, takeSwitch<&PlotOptions::dark>},
    {"--x-range", '\0', "F1:F2",
     [](PlotOptions& options, const std::string& text) -> std::optional<Problem> {
         Result<OffsetBand> band = offsetRange("--x-range", text);
         if (!band) return band.problem;
         options.offsetRange = band.value;
         return std::nullopt;
     }},
    {"--y-range", '\0', "L1:L2", takeLevelRange},
    {"--size", '\0', "WxH", takeSize},
    {"--smooth", '\0', "W", takeSmoothing},
    {nullptr, 'm', "FILE", takeText<&PlotOptions::mask>},
    {nullptr, 'j', "FILE", takeText<&PlotOptions::json>},
    {"--spur-threshold", '\0', "DB", takeSpurThreshold},
    {"--spurs", '\0', "HOW", takeSpurTreatment},
    {"--omit-spurs", '\0', nullptr,
     [](PlotOptions& options, const std::string&) { return takeSpurTreatment(options, "omit"); }},
    {"--margin", '\0', "DB", takeMargin},
    {"--subtract-floor", '\0', nullptr, takeAnalysisSwitch<&AnalysisOptions::subtractFloor>},
    {"--adev", '\0', nullptr, takeDeviation<&DeviationsAsked::allan>},
    {"--mdev", '\0', nullptr, takeDeviation<&DeviationsAsked::modified>},
    {"--tdev", '\0', nullptr, takeDeviation<&DeviationsAsked::time>},
    {"--tau", '\0', "RULE", takeTaus},
    {"--stability-chart", '\0', "FILE", takeText<&PlotOptions::stabilityChart>},
    {"--each", '\0', nullptr, takeSwitch<&PlotOptions::each>},
    {"--table", '\0', "FILE", takeText<&PlotOptions::table>},
    {"--fit", '\0', nullptr, takeAnalysisSwitch<&AnalysisOptions::fit>},
    {"--fit-range", '\0', "F1:F2",
     [](PlotOptions& options, const std::string& text) -> std::optional<Problem> {
         Result<OffsetBand> band = offsetRange("--fit-range", text);
         if (!band) return band.problem;
         options.analysis.fitRange = band.value;
         return std::nullopt;
     }},
    {"--fh", '\0', "HZ",
     [](PlotOptions& options, const std::string& text) {
         return takeFrequency("--fh", text, options.analysis.fitBandwidth);
     }},
    {"--spot", '\0', "LIST", takeSpots},
    {"--density", '\0', "NAME", takeDensity},
    {"--pair", '\0', nullptr, takeAnalysisSwitch<&AnalysisOptions::pair>},
    {"--hat", '\0', nullptr, takeAnalysisSwitch<&AnalysisOptions::hat>},
    {"--relative-to", '\0', "N", takeRelativeTo},
    {"--help", 'h', nullptr, takeSwitch<&PlotOptions::help>},
    {"--version", '\0', nullptr, takeSwitch<&PlotOptions::version>},
};

// getopt's option string: a leading ':' for missing values, each letter, ':' after those with one.
std::string letters() {
    std::string text = ":";
    for (const OptionSpec& option : optionTable) {
        if (option.letter == '\0') continue;
        text += option.letter;
        if (option.valueName) text += ':';
    }
    return text;
}

const OptionSpec* byLetter(int letter) {
    for (const OptionSpec& option : optionTable) {
        if (option.letter != '\0' && option.letter == letter) return &option;
    }
    return nullptr;
}

// The extension of the path's last component, in lower case; empty without one.
std::string extensionOf(const std::string& path) {
    std::string name = baseNameOf(path);
    std::size_t dot = name.rfind('.');
    return dot == std::string::npos ? "" : asciiLowerCase(name.substr(dot + 1));
}

// "charts/", "C:\reports\": a folder, as --each's -o and --html take it.
bool isFolder(const std::string& path) { return !path.empty() && (path.back() == '/' || path.back() == '\\'); }

// What the options say of each other once all are read; the default output name.
std::optional<Problem> settleOutputs(PlotOptions& options) {
    if (options.each) {
        // Each input's chart and report are named after it, in the folders -o and --html name.
        if (!options.output.empty() && !isFolder(options.output)) {
            return usage("-o " + options.output + ": with --each, -o names the folder of the charts; end it with " +
                         "/ (such as -o charts/)");
        }
        if (options.html && !isFolder(*options.html)) {
            return usage("--html " + *options.html + ": with --each, --html names the folder of the reports; end it " +
                         "with / (such as --html reports/)");
        }
    }
    const std::string extension = extensionOf(options.output);
    const bool outputIsHtml = extension == "html" || extension == "htm";
    if (options.output != "-" && !outputIsHtml && extension != "svg" && !extension.empty()) {
        return usage("-o " + options.output +
                     ": pnpplot writes the chart as SVG (.svg, or a name without an extension) and the HTML report "
                     "(.html or .htm); the README shows how to make a PNG of either");
    }
    if (options.inputs.empty()) return usage("no input file");
    const AnalysisOptions& analysis = options.analysis;
    const DeviationsAsked& deviations = analysis.deviations;
    if (options.stabilityChart && !deviations.allan && !deviations.modified && !deviations.time) {
        return usage("--stability-chart draws the deviations: give --adev, --mdev or --tdev");
    }
    if (analysis.hat && options.inputs.size() < 3) {
        return usage("--hat needs three inputs: A against B, A against C and B against C");
    }
    if (analysis.hat && analysis.pair)
        return usage("--hat and --pair cannot go together: the hat finds each oscillator");
    if (analysis.relativeTo && *analysis.relativeTo >= options.inputs.size()) {
        return usage("--relative-to " + std::to_string(*analysis.relativeTo + 1) + ": there are only " +
                     std::to_string(options.inputs.size()) + " inputs");
    }
    const int toStandardOutput = (options.output == "-") + (options.json == "-") + (options.table == "-");
    if (toStandardOutput > 1) return usage("only one of -o -, -j - and --table - can write to standard output");
    if (outputIsHtml && options.html) return usage("-o " + options.output + " and --html both name the HTML report");
    if (outputIsHtml) {
        // The report alone: it holds the chart.
        options.html = options.output;
        options.output.clear();
    } else if (options.output.empty()) {
        options.chartAfterFirstInput = true;
    }
    return std::nullopt;
}

// An option's words as typed: "-c 10M", "--format rs".
std::string typed(const OptionSpec& option, const std::string& value) {
    std::string name = option.longName ? option.longName : std::string("-") + option.letter;
    return option.valueName ? name + " " + value : name;
}

// Applies an option; one that describes an input is remembered until an input takes it.
std::optional<Problem> apply(const OptionSpec& option, const std::string& value, PlotOptions& options) {
    if (option.perInput) options.nextGivenBy = typed(option, value);
    return option.apply(options, value);
}

// A long option at argv[index], "--name" or "--name=value", its value the next argument when
// it takes one; moves index past it.
std::optional<Problem> takeLongOption(int argc, const char* const argv[], int& index, PlotOptions& options) {
    std::string_view argument = argv[index++];
    std::string_view name = argument.substr(0, argument.find('='));
    const OptionSpec* option = nullptr;
    for (const OptionSpec& known : optionTable) {
        if (known.longName && name == known.longName) option = &known;
    }
    if (!option) return usage("unknown option '" + std::string(name) + "'");
    std::optional<std::string> value;
    if (name.size() < argument.size()) value = std::string(argument.substr(name.size() + 1));
    if (option->valueName && !value) {
        if (index >= argc) return usage("option " + std::string(name) + " needs a value");
        value = argv[index++];
    }
    if (!option->valueName && value) return usage("option " + std::string(name) + " takes no value");
    return apply(*option, value.value_or(""), options);
}

// An input takes the options in force; a label goes with it alone.
void takeInput(const std::string& operand, const Host& host, PlotOptions& options) {
    std::vector<std::string> paths =
        operandsKeepWildcards ? expandWildcards(operand, host) : std::vector<std::string>{operand};
    for (const std::string& path : paths) {
        InputSpec input = options.next;
        input.path = path;
        options.inputs.push_back(std::move(input));
    }
    options.next.label.reset();
    options.nextGivenBy.clear();
}

}  // namespace

const std::vector<OptionSpec>& plotOptionTable() { return optionTable; }

Result<PlotOptions> parsePlotOptions(int argc, const char* const argv[], const Host& host) {
    PlotOptions options;
    const std::string optionString = letters();
    OptionScanner scanner;
    bool onlyFiles = false;  // after --
    while (scanner.cursor || scanner.optind < argc) {
        std::optional<Problem> problem;
        if (!scanner.cursor) {
            const char* argument = argv[scanner.optind];
            // Options and files may stand in any order; after -- every argument is a file.
            if (onlyFiles || argument[0] != '-' || argument[1] == '\0') {
                takeInput(argument, host, options);
                ++scanner.optind;
                continue;
            }
            if (std::strcmp(argument, "--") == 0) {
                onlyFiles = true;
                ++scanner.optind;
                continue;
            }
        }
        // Long options stand alone; a value of -o or -t may spell the same text.
        if (!scanner.cursor && std::strncmp(argv[scanner.optind], "--", 2) == 0) {
            problem = takeLongOption(argc, argv, scanner.optind, options);
        } else {
            int letter = getopt(scanner, argc, argv, optionString.c_str());
            if (letter == -1) {
                onlyFiles = true;  // a dash closing a cluster, as in -v-, ends the options there
                continue;
            }
            if (letter == ':') {
                problem = usage(std::string("option ") + argv[argc - 1] + " needs a value");
            } else if (const OptionSpec* option = byLetter(letter)) {
                problem = apply(*option, scanner.optarg ? scanner.optarg : "", options);
            } else {
                problem = usage(std::string("unknown option in '") +
                                (scanner.cursor ? argv[scanner.optind] : argv[scanner.optind - 1]) + "'");
            }
        }
        if (problem) return *problem;
        if (options.help || options.version) return options;
    }
    if (!options.nextGivenBy.empty() && !options.inputs.empty()) {
        return usage(options.nextGivenBy +
                     " follows the last input and applies to nothing: it describes the "
                     "inputs after it");
    }
    if (std::optional<Problem> problem = settleOutputs(options)) return *problem;
    return options;
}

}  // namespace csv2pnp
