#include "platform/foundation/JSONCursor.hpp"

#include <gtest/gtest.h>

#include <string>

#include "platform/foundation/PropertyListSerialization.hpp"

namespace zelvana::platform {
namespace {

// What the cursor reads of a whole text; none where it leaves the text to the parser.
std::optional<PropertyValue> readDirectly(const std::string& text) {
    JSONCursor in(text);
    auto value = readPropertyValue(in);
    return value && in.atEnd() ? value : std::nullopt;
}

TEST(JSONCursorTest, ReadsPropertyValuesAsTheParserDoesOrLeavesThemToIt) {
    const std::string saved =
        R"([{"identifier":"8B3A64BF","restorationClass":"SpaceSwitcher","space":2,)"
        R"("state":{"frame":[0.0,-12.5,1e3,1.0]},"visible":true}])";
    ASSERT_TRUE(readDirectly(saved)) << "saved windows are read without the parser";
    const std::string texts[] = {
        saved, "[]", " { } ", "\n[ 1 ,\t\"a\" , [ ] , { \"k\" : false } ]\r", "-0", "-0.0", "0",
        "9223372036854775807", "-9223372036854775808", "9223372036854775808",
        "-9223372036854775809", "1e19", "1.5e-7", "123456789012345678901234567890",
        R"({"a":1,"a":2})", R"({"a":{"b":[{"c":"d"}]}})", "\"caf\u00e9 \U0001F600\"",
        // Left to the parser, or refused by both.
        R"("a\"b")", R"("\u00e9")", "null", "[null]", "[1,]", "[,1]", "[1 2]", "{\"a\"1}",
        "{\"a\":}", "{1:2}", "[", "]", "[]]", "[] x", "01", "1.", ".5", "+1", "1e", "-", "1e999",
        "tru", "True", "\"a\tb\"", "\"\xC3(\"", "\"\xE0\x80\x80\"", "\"\xF4\x90\x80\x80\"",
        "\xEF\xBB\xBF[]", std::string("[]\0", 3), "[[[[[[[[[[[[[[[[[[1]]]]]]]]]]]]]]]]]"};
    for (const auto& text : texts) {
        const auto direct = readDirectly(text);
        const auto parsed = JSONSerialization::parse(text);
        EXPECT_EQ(direct ? direct : parsed, parsed) << text;
    }
}

}  // namespace
}  // namespace zelvana::platform
