#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "options/option_scanner.h"

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

}  // namespace
}  // namespace csv2pnp
