#include <string>
#include <utility>

#include <gtest/gtest.h>

#include "text/xml_text.h"

namespace csv2pnp {
namespace {

TEST(XmlText, EscapesAndRepairs) {
    const std::pair<std::string, std::string> cases[] = {
        {"osc1.csv", "osc1.csv"},
        {"a&b<c>\"d'", "a&amp;b&lt;c&gt;&quot;d&apos;"},
        {"r\xc3\xa9sultat \xe2\x82\xac \xf0\x9f\x93\xa1", "r\xc3\xa9sultat \xe2\x82\xac \xf0\x9f\x93\xa1"},
        {"bad\xff\xfe", "bad\xef\xbf\xbd\xef\xbf\xbd"},
        {"cut\xc3", "cut\xef\xbf\xbd"},
        {"overlong\xc0\xaf", "overlong\xef\xbf\xbd\xef\xbf\xbd"},
        {"surrogate\xed\xa0\x80", "surrogate\xef\xbf\xbd\xef\xbf\xbd\xef\xbf\xbd"},
        {std::string("nul\0bell\x07", 9), "nul\xef\xbf\xbd" "bell\xef\xbf\xbd"},
        {"tab\tok", "tab\tok"},
        {"\xef\xbf\xbe", "\xef\xbf\xbd"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(xmlText(bytes), text) << bytes;
}

}  // namespace
}  // namespace csv2pnp
