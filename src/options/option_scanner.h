// POSIX getopt for single-letter options, without reordering and without messages.
#pragma once

namespace csv2pnp {

struct OptionScanner {
    int optind = 1;                // index of the next argument to examine
    const char* optarg = nullptr;  // value of the option just returned
    const char* cursor = nullptr;  // next letter inside a cluster such as -vi10
};

// Returns the next option letter, '?' for a letter that is not an option, ':' for a
// missing value (the option string starts with ':'), or -1 at the first operand.
int getopt(OptionScanner& scanner, int argc, const char* const argv[], const char* optstring);

}  // namespace csv2pnp
