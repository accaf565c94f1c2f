#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {
namespace {

TEST(PropertyListTest, NumericReadsConvertBetweenNumberTypes) {
    EXPECT_EQ(PropertyValue(true).asInteger(), 1);
    EXPECT_EQ(PropertyValue(false).asDouble(), 0.0);
    EXPECT_EQ(PropertyValue(7).asDouble(), 7.0);
    EXPECT_EQ(PropertyValue(2.9).asInteger(), 2);
    EXPECT_EQ(PropertyValue(-2.9).asInteger(), -2);
    EXPECT_EQ(PropertyValue(1e300).asInteger(), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(PropertyValue(-1e300).asInteger(), std::numeric_limits<std::int64_t>::min());
    EXPECT_FALSE(PropertyValue(std::nan("")).asInteger());
    EXPECT_FALSE(PropertyValue("12").asInteger());
    EXPECT_FALSE(PropertyValue("12").asDouble());
    EXPECT_FALSE(PropertyValue(PropertyArray{}).asDouble());
}

TEST(PropertyListTest, FindsDictionaryMembersOnly) {
    const PropertyValue dictionary(PropertyDictionary{{"a", 1}, {"b", "two"}});
    ASSERT_NE(dictionary.find("b"), nullptr);
    EXPECT_EQ(*dictionary.find("b")->stringValue(), "two");
    EXPECT_EQ(dictionary.find("c"), nullptr);
    EXPECT_EQ(PropertyValue(PropertyArray{1, 2}).find("a"), nullptr);
    EXPECT_EQ(PropertyValue(3).find("a"), nullptr);
}

}  // namespace
}  // namespace zelvana::platform
