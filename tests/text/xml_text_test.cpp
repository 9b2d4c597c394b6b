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
        // Not UTF-8: read as Windows-1252.
        {"bad\xff\xfe", "bad\xc3\xbf\xc3\xbe"},
        {"cut\xc3", "cut\xc3\x83"},
        {std::string("nul\0bell\x07", 9),
         "nul\xef\xbf\xbd"
         "bell\xef\xbf\xbd"},
        {"tab\tok", "tab\tok"},
        {"\xef\xbf\xbe", "\xef\xbf\xbd"},
        {"\x81<\x9f", "\xef\xbf\xbd&lt;\xc5\xb8"},
    };
    for (const auto& [bytes, text] : cases) EXPECT_EQ(xmlText(bytes), text) << bytes;
}

}  // namespace
}  // namespace csv2pnp
