#include <cstdint>
#include <utility>

#include <gtest/gtest.h>

#include "csv2pnp/carrier_frequency.h"

namespace csv2pnp {
namespace {

TEST(CarrierFrequency, ReadsLikeA32BitAtolHeldUnsigned) {
    const std::pair<const char*, std::uint32_t> cases[] = {
        {"100000000", 100000000u},
        {"12abc", 12u},
        {"abc", 0u},
        {"", 0u},
        {"  +42", 42u},
        {"-1", 4294967295u},
        {"5000000000", 2147483647u},
        {"-5000000000", 2147483648u},
        {"2147483647", 2147483647u},
        {"-2147483648", 2147483648u},
        {"0x10", 0u},
        {"99999999999999999999999", 2147483647u},
        {"- 5", 0u},
    };
    for (const auto& [text, expected] : cases) EXPECT_EQ(parseCarrierFrequency(text), expected) << text;
}

}  // namespace
}  // namespace csv2pnp
