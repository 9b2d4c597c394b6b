// Drives the option scanner and the -i conversion with arbitrary argument vectors: the
// input's NUL bytes separate the arguments.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "csv2pnp/carrier_frequency.h"
#include "options/option_scanner.h"

namespace {

void require(bool condition) {
    if (!condition) std::abort();
}

bool pointsInto(const char* p, const std::vector<std::string>& arguments) {
    for (const std::string& a : arguments) {
        if (p >= a.c_str() && p <= a.c_str() + a.size()) return true;
    }
    return false;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::vector<std::string> arguments{"csv2pnp"};
    std::string current;
    for (std::size_t i = 0; i < size; ++i) {
        if (data[i] == 0) {
            arguments.push_back(current);
            current.clear();
        } else {
            current += static_cast<char>(data[i]);
        }
    }
    if (!current.empty()) arguments.push_back(current);
    std::vector<const char*> argv;
    std::size_t letters = 0;
    for (const std::string& a : arguments) {
        argv.push_back(a.c_str());
        letters += a.size();
    }
    int argc = static_cast<int>(argv.size());
    argv.push_back(nullptr);

    csv2pnp::OptionScanner scanner;
    std::size_t calls = 0;
    for (int option; (option = csv2pnp::getopt(scanner, argc, argv.data(), ":i:o:VvHh")) != -1;) {
        require(++calls <= letters + 1);  // every call consumes a letter
        require(scanner.optind >= 1 && scanner.optind <= argc);
        require(std::strchr("?:ioVvHh", option) != nullptr && option != 0);
        bool takesValue = option == 'i' || option == 'o';
        require((scanner.optarg != nullptr) == takesValue);
        if (scanner.optarg) {
            require(pointsInto(scanner.optarg, arguments));
            std::uint32_t carrier = csv2pnp::parseCarrierFrequency(scanner.optarg);
            require(carrier == csv2pnp::parseCarrierFrequency(scanner.optarg));
        }
        if (option == ':') require(scanner.optind == argc);
    }
    require(scanner.optind >= 1 && scanner.optind <= argc);
    require(scanner.optarg == nullptr);
    return 0;
}
