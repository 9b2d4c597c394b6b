#include <cmath>
#include <limits>
#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "text/json_text.h"

namespace csv2pnp {
namespace {

TEST(JsonText, StringsAndNumbers) {
    const std::pair<std::string, std::string> strings[] = {
        {"osc1.csv", "\"osc1.csv\""},
        {"a\"b\\c/d", "\"a\\\"b\\\\c/d\""},
        {std::string("\n\r\t\x01\x1f\0", 6), "\"\\n\\r\\t\\u0001\\u001f\\u0000\""},
        {"Messung_\xb5_\xe9", "\"Messung_\xc2\xb5_\xc3\xa9\""},  // Windows-1252 read as such
        {"\xf0\x9f\x93\xa1", "\"\xf0\x9f\x93\xa1\""},
    };
    for (const auto& [bytes, json] : strings) EXPECT_EQ(jsonString(bytes), json) << bytes;
    const std::pair<double, std::string> numbers[] = {
        {10, "10"},         {-119.86, "-119.86"},
        {1e-11, "1e-11"},   {0.1, "0.1"},
        {1e300, "1e+300"},  {-0.0, "-0"},
        {INFINITY, "null"}, {-INFINITY, "null"},
        {NAN, "null"},      {std::numeric_limits<double>::denorm_min(), "5e-324"},
    };
    for (const auto& [value, json] : numbers) EXPECT_EQ(jsonNumber(value), json) << value;
    EXPECT_EQ(jsonNumber(std::optional<double>{}), "null");
}

}  // namespace
}  // namespace csv2pnp
