#include "platform/foundation/WholeNumber.hpp"

#include <gtest/gtest.h>

namespace zelvana::platform {
namespace {

TEST(WholeNumberTest, ReadsASignAndDigitsThatFitSixtyFourBits) {
    EXPECT_EQ(wholeNumber("42"), 42);
    EXPECT_EQ(wholeNumber("+7"), 7);
    EXPECT_EQ(wholeNumber("-0012"), -12);
    EXPECT_EQ(wholeNumber("9223372036854775807"), INT64_MAX);
    EXPECT_EQ(wholeNumber("-9223372036854775808"), INT64_MIN);
    for (const char* refused : {"", "+", "-", "1.5", " 1", "1 ", "0x10", "+-1", "1e3",
                                "9223372036854775808", "-9223372036854775809"}) {
        EXPECT_FALSE(wholeNumber(refused)) << refused;
    }
}

}  // namespace
}  // namespace zelvana::platform
