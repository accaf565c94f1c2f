#include "Logging/FilterValidator.hpp"

#include <gtest/gtest.h>

#include "Logging/BaseDestination.hpp"
#include "Logging/Filters.hpp"
#include "platform/testing/LogCapture.hpp"

namespace zelvana::logging {
namespace {

using Kind = FilterValidator::Result::Kind;
using Type = FilterValidator::ValidationType;
using Filtered = std::vector<std::shared_ptr<FilterType>>;

TEST(CompareFilter, ComparisonsTestTheValue) {
    auto excludes = MessageFilterFactory::excludes({"a", "b"}, CaseSensitive::yes);
    EXPECT_TRUE(excludes->test("xa"));
    EXPECT_FALSE(excludes->test("ab"));
    EXPECT_TRUE(excludes->isExclusion());

    EXPECT_TRUE(PathFilterFactory::equals({"Foo"}, CaseSensitive::no)->test("FOO"));
    EXPECT_FALSE(PathFilterFactory::equals({"Foo"}, CaseSensitive::yes)->test("FOO"));
    EXPECT_TRUE(FunctionFilterFactory::startsWith({"la"})->test("launch()"));
    EXPECT_TRUE(FunctionFilterFactory::endsWith({"CH()"})->test("launch()"));
    EXPECT_TRUE(Filters::messageFactory::contains({"zz", "UN"})->test("launch"));
    EXPECT_FALSE(Filters::messageFactory::contains({"UN"}, CaseSensitive::yes)->test("launch"));

    for (auto* make : {&MessageFilterFactory::startsWith, &MessageFilterFactory::contains,
                       &MessageFilterFactory::excludes, &MessageFilterFactory::endsWith,
                       &MessageFilterFactory::equals}) {
        auto empty = make({}, CaseSensitive::no, Required::no, Level::verbose);
        EXPECT_FALSE(empty->test("anything"));
        EXPECT_FALSE(empty->test(std::nullopt));
    }
    auto custom = MessageFilterFactory::custom(Required::yes, Level::info,
                                               [](std::string_view v) { return v.size() == 3; });
    EXPECT_TRUE(custom->test("abc"));
    EXPECT_FALSE(custom->test("abcd"));
    EXPECT_TRUE(custom->isRequiredFilter());
    EXPECT_FALSE(custom->levelReached(Level::debug));
    EXPECT_TRUE(custom->levelReached(Level::info));
}

TEST(CompareFilter, CaseInsensitiveComparisonsFoldUnicodeCase) {
    EXPECT_TRUE(MessageFilterFactory::equals({"stra\u00dfe"}, CaseSensitive::no)->test("STRASSE"));
    EXPECT_FALSE(
        MessageFilterFactory::equals({"stra\u00dfe"}, CaseSensitive::yes)->test("STRASSE"));
    EXPECT_TRUE(
        PathFilterFactory::contains({"\u00e9cole"}, CaseSensitive::no)->test("/L'\u00c9COLE/a"));
    // Final and medial sigma fold alike.
    EXPECT_TRUE(MessageFilterFactory::endsWith({"\u03a6\u039f\u03a3"}, CaseSensitive::no)
                    ->test("\u03c3\u03af\u03c3\u03c5\u03c6\u03bf\u03c2"));
    EXPECT_FALSE(MessageFilterFactory::excludes({"\u00c9T\u00c9"}, CaseSensitive::no)
                     ->test("l'\u00e9t\u00e9"));
}

TEST(CompareFilter, TargetsCompareByCaseAndPlainFiltersNeverExclude) {
    auto comparison = [](FilterComparison::Kind kind, std::vector<std::string> texts = {}) {
        return FilterComparison{kind, std::move(texts), false, {}};
    };
    FilterTarget startsWith{FilterTarget::Kind::Path,
                            comparison(FilterComparison::Kind::StartsWith)};
    FilterTarget equals{FilterTarget::Kind::Path,
                        comparison(FilterComparison::Kind::Equals, {"x"})};
    FilterTarget message{FilterTarget::Kind::Message,
                         comparison(FilterComparison::Kind::StartsWith)};
    EXPECT_EQ(startsWith, equals);
    EXPECT_NE(startsWith, message);

    Filter plain({FilterTarget::Kind::Message, comparison(FilterComparison::Kind::Excludes, {"x"})},
                 Required::no, Level::verbose);
    EXPECT_FALSE(plain.isExclusion());
}

TEST(FilterValidator, CountsMatchesPerGroup) {
    Filtered filters{
        MessageFilterFactory::contains({"disk"}, CaseSensitive::no, Required::no, Level::warning),
        PathFilterFactory::startsWith({"/src"}, CaseSensitive::no, Required::no, Level::verbose),
        FunctionFilterFactory::equals({"launch()"}, CaseSensitive::no, Required::yes,
                                      Level::verbose),
    };
    auto results =
        FilterValidator::validate({filters, Level::info, "/src/a.cpp", "launch()", "disk full"},
                                  {Type::excluded, Type::required, Type::nonRequired});
    EXPECT_EQ(results[Type::excluded].kind, Kind::noFiltersMatchingType);
    EXPECT_EQ(results[Type::required].kind, Kind::allFiltersMatch);
    EXPECT_EQ(results[Type::nonRequired].kind, Kind::someFiltersMatch);
    EXPECT_EQ(results[Type::nonRequired].partialMatch,
              (FilterValidator::Result::PartialMatchData{1, 1, 0}));

    // Without a message, a message filter's condition does not hold.
    auto noMessage = FilterValidator::validate(
        {filters, Level::error, "/other", "launch()", std::nullopt}, Type::nonRequired);
    EXPECT_EQ(noMessage.partialMatch, (FilterValidator::Result::PartialMatchData{0, 0, 2}));
}

class AcceptanceDecision : public ::testing::Test {
protected:
    bool accepts(Level level, std::optional<std::string_view> message = "disk full") {
        return destination.shouldLevelBeLogged(level, "/src/a.cpp", "launch()", message);
    }
    BaseDestination destination;
};

TEST_F(AcceptanceDecision, WithoutFiltersTheLevelDecides) {
    destination.setMinLevel(Level::warning);
    EXPECT_FALSE(accepts(Level::info));
    EXPECT_TRUE(accepts(Level::warning));

    destination.setDebugPrint(true);
    platform::testing::LogCapture capture(platform::testing::LogCapture::StandardOutput);
    accepts(Level::info);
    accepts(Level::error);
    const auto printed = capture.standardOutputLines();
    EXPECT_EQ(printed, (std::vector<std::string>{"filters are empty and level < minLevel",
                                                 "filters are empty and level >= minLevel"}));
}

TEST_F(AcceptanceDecision, ExclusionBeatsRequiredAndLevel) {
    destination.addFilter(
        PathFilterFactory::startsWith({"/src"}, CaseSensitive::no, Required::yes));
    EXPECT_TRUE(accepts(Level::verbose));
    destination.addFilter(MessageFilterFactory::excludes({"full"}));
    EXPECT_TRUE(accepts(Level::error, "disk ok"));
    EXPECT_FALSE(accepts(Level::error));
    // An exclusion whose level is not reached never fully matches: rejected whatever the text.
    destination.setFilters(
        {MessageFilterFactory::excludes({"full"}, CaseSensitive::no, Required::no, Level::error)});
    EXPECT_FALSE(accepts(Level::warning, "disk ok"));
}

TEST_F(AcceptanceDecision, RequiredThenNonRequiredThenLevel) {
    destination.setMinLevel(Level::error);
    auto required = FunctionFilterFactory::equals({"launch()"}, CaseSensitive::yes, Required::yes);
    destination.addFilter(required);
    destination.addFilter(
        PathFilterFactory::startsWith({"/lib"}, CaseSensitive::yes, Required::yes));
    EXPECT_FALSE(accepts(Level::error));  // only some required filters match
    destination.setFilters({required});
    EXPECT_TRUE(accepts(Level::verbose));

    auto nonRequired =
        MessageFilterFactory::contains({"disk"}, CaseSensitive::no, Required::no, Level::info);
    destination.setFilters({nonRequired});
    EXPECT_TRUE(accepts(Level::info));             // full match, below minLevel
    EXPECT_FALSE(accepts(Level::debug));           // condition without level
    EXPECT_FALSE(accepts(Level::warning, "cpu"));  // no condition: the level decides
    EXPECT_TRUE(accepts(Level::error, "cpu"));
    EXPECT_TRUE(accepts(Level::error, std::nullopt));
    EXPECT_FALSE(accepts(Level::warning, std::nullopt));
}

TEST_F(AcceptanceDecision, FilterListKeepsOrderAndRemovesFirstOccurrence) {
    auto a = MessageFilterFactory::contains({"a"});
    auto b = PathFilterFactory::contains({"b"});
    destination.addFilter(a);
    destination.addFilter(b);
    destination.addFilter(a);
    EXPECT_TRUE(destination.hasMessageFilter());
    destination.removeFilter(PathFilterFactory::contains({"b"}));
    EXPECT_EQ(destination.filters().size(), 3u);
    destination.removeFilter(a);
    EXPECT_EQ(destination.filters(), (Filtered{b, a}));
    destination.removeFilter(a);
    EXPECT_FALSE(destination.hasMessageFilter());
}

}  // namespace
}  // namespace zelvana::logging
