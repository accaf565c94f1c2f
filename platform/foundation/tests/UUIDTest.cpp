#include <gtest/gtest.h>

#include <cctype>
#include <set>

#include "platform/foundation/UUID.hpp"

namespace zelvana::platform {
namespace {

TEST(UUIDTest, NewOnesAreUpperCaseVersion4AndDistinct) {
    std::set<std::string> seen;
    for (int i = 0; i < 1000; ++i) {
        const std::string text = UUID().uuidString();
        ASSERT_EQ(text.size(), 36u);
        for (std::size_t at = 0; at < text.size(); ++at) {
            if (at == 8 || at == 13 || at == 18 || at == 23) {
                ASSERT_EQ(text[at], '-') << text;
            } else {
                ASSERT_TRUE(std::isxdigit(static_cast<unsigned char>(text[at])) &&
                            !std::islower(static_cast<unsigned char>(text[at])))
                    << text;
            }
        }
        EXPECT_EQ(text[14], '4') << text;
        EXPECT_NE(std::string("89AB").find(text[19]), std::string::npos) << text;
        seen.insert(text);
    }
    EXPECT_EQ(seen.size(), 1000u);
}

TEST(UUIDTest, ParsesEitherCaseAndRefusesMalformedText) {
    const UUID original;
    auto parsed = UUID::fromString(original.uuidString());
    ASSERT_TRUE(parsed);
    EXPECT_EQ(*parsed, original);

    auto lower = UUID::fromString("0a1b2c3d-4e5f-4a6b-8c7d-8e9fa0b1c2d3");
    ASSERT_TRUE(lower);
    EXPECT_EQ(lower->uuidString(), "0A1B2C3D-4E5F-4A6B-8C7D-8E9FA0B1C2D3");
    EXPECT_EQ(lower->bytes()[0], 0x0A);
    EXPECT_EQ(lower->bytes()[15], 0xD3);

    EXPECT_FALSE(UUID::fromString(""));
    EXPECT_FALSE(UUID::fromString("0A1B2C3D-4E5F-4A6B-8C7D-8E9FA0B1C2D"));    // short
    EXPECT_FALSE(UUID::fromString("0A1B2C3D-4E5F-4A6B-8C7D-8E9FA0B1C2D33"));  // long
    EXPECT_FALSE(UUID::fromString("0A1B2C3D4E5F-4A6B-8C7D-8E9FA0B1C2D3-"));   // hyphens moved
    EXPECT_FALSE(UUID::fromString("0A1B2C3D-4E5F-4A6B-8C7D-8E9FA0B1C2DG"));   // not hex
}

}  // namespace
}  // namespace zelvana::platform
