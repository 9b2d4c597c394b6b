#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "cli/carrier_frequency.h"
#include "cli/option_scanner.h"

namespace csv2pnp {
namespace {

struct Step {
    int result;
    const char* value;  // expected optarg, nullptr for none
    int optind;
};

struct ScanCase {
    std::vector<const char*> arguments;  // after the program name
    std::vector<Step> steps;             // the last one returns -1
};

TEST(OptionScanner, FollowsGetoptRules) {
    const ScanCase cases[] = {
        {{}, {{-1, nullptr, 1}}},
        {{"-v", "-i", "250", "x.csv"}, {{'v', nullptr, 2}, {'i', "250", 4}, {-1, nullptr, 4}}},
        {{"-i250"}, {{'i', "250", 2}, {-1, nullptr, 2}}},
        {{"-vV"}, {{'v', nullptr, 1}, {'V', nullptr, 2}, {-1, nullptr, 2}}},
        {{"-vi10"}, {{'v', nullptr, 1}, {'i', "10", 2}, {-1, nullptr, 2}}},
        {{"-iv"}, {{'i', "v", 2}, {-1, nullptr, 2}}},
        {{"-i", "-v"}, {{'i', "-v", 3}, {-1, nullptr, 3}}},
        {{"-i", "--"}, {{'i', "--", 3}, {-1, nullptr, 3}}},
        {{"-i"}, {{':', nullptr, 2}, {-1, nullptr, 2}}},
        {{"-vi"}, {{'v', nullptr, 1}, {':', nullptr, 2}, {-1, nullptr, 2}}},
        {{"x.csv", "-v"}, {{-1, nullptr, 1}}},
        {{"-v", "--", "-x.csv"}, {{'v', nullptr, 2}, {-1, nullptr, 3}}},
        {{"-"}, {{-1, nullptr, 1}}},
        {{""}, {{-1, nullptr, 1}}},
        {{"-x"}, {{'?', nullptr, 2}, {-1, nullptr, 2}}},
        {{"-vx"}, {{'v', nullptr, 1}, {'?', nullptr, 2}, {-1, nullptr, 2}}},
        {{"-:"}, {{'?', nullptr, 2}, {-1, nullptr, 2}}},
        {{"--v"}, {{'?', nullptr, 1}, {'v', nullptr, 2}, {-1, nullptr, 2}}},
        {{"-v-"}, {{'v', nullptr, 1}, {-1, nullptr, 1}}},
        {{"-o", "name", "a"}, {{'o', "name", 3}, {-1, nullptr, 3}}},
        {{"-hH"}, {{'h', nullptr, 1}, {'H', nullptr, 2}, {-1, nullptr, 2}}},
    };
    for (const ScanCase& c : cases) {
        std::vector<const char*> argv{"csv2pnp"};
        argv.insert(argv.end(), c.arguments.begin(), c.arguments.end());
        std::string trace;
        for (const char* a : c.arguments) trace += std::string(a) + " ";
        SCOPED_TRACE(trace);
        OptionScanner scanner;
        for (const Step& step : c.steps) {
            int result = getopt(scanner, static_cast<int>(argv.size()), argv.data(), ":i:o:VvHh");
            EXPECT_EQ(result, step.result);
            EXPECT_EQ(scanner.optind, step.optind);
            if (step.value) {
                ASSERT_NE(scanner.optarg, nullptr);
                EXPECT_STREQ(scanner.optarg, step.value);
            } else {
                EXPECT_EQ(scanner.optarg, nullptr);
            }
        }
    }
}

TEST(CarrierFrequency, ReadsLikeA32BitAtolHeldUnsigned) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"100000000", 100000000u}, {"12abc", 12u},          {"abc", 0u},           {"", 0u},
        {"  +42", 42u},            {"-1", 4294967295u},     {"5000000000", 2147483647u},
        {"-5000000000", 2147483648u}, {"2147483647", 2147483647u}, {"-2147483648", 2147483648u},
        {"0x10", 0u},              {"99999999999999999999999", 2147483647u}, {"- 5", 0u},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(parseCarrierFrequency(text), expected) << text;
}

}  // namespace
}  // namespace csv2pnp
