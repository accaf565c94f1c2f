#include "GridPanel/TitlePrefix.hpp"

#include <gtest/gtest.h>

#include <string>

namespace zelvana::gridpanel {
namespace {

TEST(TitlePrefixTest, MatchesTheLowerCasedTitle) {
    EXPECT_TRUE(titleHasPrefix("beta", "b"));
    EXPECT_TRUE(titleHasPrefix("Bravo", "b"));
    EXPECT_FALSE(titleHasPrefix("Alpha", "b"));
    EXPECT_TRUE(titleHasPrefix("beta", "be"));
    EXPECT_FALSE(titleHasPrefix("Bravo", "be"));
    EXPECT_TRUE(titleHasPrefix("beta", "beta"));
    EXPECT_FALSE(titleHasPrefix("beta", "betas"));
    EXPECT_TRUE(titleHasPrefix("Bravo", "B")) << "both sides are case folded";
    EXPECT_TRUE(titleHasPrefix("Stra\u00DFe", "STRASS")) << "ß folds to ss";
}

TEST(TitlePrefixTest, EmptyPrefixMatchesAnyTitleButNoTitleNeverMatches) {
    EXPECT_TRUE(titleHasPrefix("", ""));
    EXPECT_TRUE(titleHasPrefix("Alpha", ""));
    EXPECT_FALSE(titleHasPrefix(std::nullopt, ""));
    EXPECT_FALSE(titleHasPrefix(std::nullopt, "a"));
}

TEST(TitlePrefixTest, ComparesWholeCharactersUnderCanonicalEquivalence) {
    const std::string composed = "\u00E9t\u00E9";  // été
    const std::string decomposed = "e\u0301t";     // e + combining acute, t
    EXPECT_TRUE(titleHasPrefix(composed, decomposed));
    EXPECT_TRUE(titleHasPrefix("\u00C9t\u00E9", "\u00E9")) << "É lower-cases to é";
    EXPECT_FALSE(titleHasPrefix(composed, "e")) << "é is one character, not e";
    EXPECT_FALSE(titleHasPrefix("e\u0301", "e"));
}

TEST(TitlePrefixTest, LongTitlesAndBrokenTextAreHarmless) {
    EXPECT_TRUE(titleHasPrefix(std::string(10000, 'A'), "aaa"));
    EXPECT_FALSE(titleHasPrefix(std::string("\xff\xfe"), "a"));
}

}  // namespace
}  // namespace zelvana::gridpanel
