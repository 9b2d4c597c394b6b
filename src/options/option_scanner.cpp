#include "options/option_scanner.h"

#include <cstring>

namespace csv2pnp {

namespace {

// Whether letter is an option of optstring; takesValue tells whether a ':' follows it.
bool findOption(const char* optstring, char letter, bool& takesValue) {
    if (letter == ':') return false;
    const char* at = std::strchr(optstring, letter);
    if (!at || letter == '\0') return false;
    takesValue = at[1] == ':';
    return true;
}

}  // namespace

int getopt(OptionScanner& scanner, int argc, const char* const argv[], const char* optstring) {
    scanner.optarg = nullptr;
    if (!scanner.cursor) {
        if (scanner.optind >= argc) return -1;
        const char* argument = argv[scanner.optind];
        if (argument[0] != '-' || argument[1] == '\0') return -1;
        if (std::strcmp(argument, "--") == 0) {
            ++scanner.optind;
            return -1;
        }
        scanner.cursor = argument + 1;
    }

    char letter = *scanner.cursor++;
    bool atEnd = *scanner.cursor == '\0';
    auto finishArgument = [&] {
        ++scanner.optind;
        scanner.cursor = nullptr;
    };

    if (letter == '-') {
        // A dash as the argument's last letter, as in -v-, ends the options there.
        if (atEnd) {
            scanner.cursor = nullptr;
            return -1;
        }
        return '?';
    }

    bool takesValue = false;
    if (!findOption(optstring, letter, takesValue)) {
        if (atEnd) finishArgument();
        return '?';
    }
    if (!takesValue) {
        if (atEnd) finishArgument();
        return letter;
    }
    if (!atEnd) {
        scanner.optarg = scanner.cursor;
        finishArgument();
        return letter;
    }
    finishArgument();
    if (scanner.optind >= argc) return ':';
    scanner.optarg = argv[scanner.optind++];
    return letter;
}

}  // namespace csv2pnp
