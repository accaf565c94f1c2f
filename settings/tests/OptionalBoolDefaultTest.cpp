#include "settings/OptionalBoolDefault.hpp"

#include <gtest/gtest.h>

#include "settings/IntEnumDefault.hpp"
#include "settings/OptionSetDefault.hpp"
#include "settings/tests/SettingsTestSupport.hpp"

namespace zelvana::settings {

enum class Visibility : int { hidden = 1, allVisible = 2, activeVisible = 3 };

template <>
struct EnumCases<Visibility> {
    static constexpr std::array all{Visibility::hidden, Visibility::allVisible,
                                    Visibility::activeVisible};
};

namespace test {
namespace {

using platform::PropertyValue;

struct Modifiers {
    std::uint32_t rawValue = 0;
};

class OptionalBoolDefaultTest : public SettingsTest {};

TEST_F(OptionalBoolDefaultTest, StoredCasesAndOutOfRangeNumbers) {
    EXPECT_EQ(OptionalBoolDefault("repetitionMode").value(), OptionalBool::undefined);
    defaults().set("repetitionMode", 1);
    EXPECT_TRUE(OptionalBoolDefault("repetitionMode").isUserEnabled());

    defaults().set("repetitionMode", 2);
    OptionalBoolDefault disabled("repetitionMode");
    EXPECT_EQ(disabled.value(), OptionalBool::userDisabled);
    EXPECT_EQ(disabled.optionalValue(), false);
    EXPECT_FALSE(disabled.isUserEnabled());
    EXPECT_TRUE(disabled.isUserDisabled());
    EXPECT_TRUE(warnings().empty());

    for (int outOfRange : {7, -1}) {
        defaults().set("repetitionMode", outOfRange);
        OptionalBoolDefault setting("repetitionMode");
        EXPECT_EQ(setting.value(), OptionalBool::undefined) << outOfRange;
        EXPECT_FALSE(setting.optionalValue()) << outOfRange;
    }
    EXPECT_EQ(warnings().size(), 2u);
}

TEST_F(OptionalBoolDefaultTest, WritingTheOptionalValueStoresTheCaseNumber) {
    OptionalBoolDefault number("menuBarSpaceNumber");
    PostRecorder posts("menuBarSpaceNumber");
    number.announceChanges();

    number.setOptionalValue(true);
    number.setOptionalValue(true);
    number.setOptionalValue(std::nullopt);
    EXPECT_EQ(defaults().object("menuBarSpaceNumber"), PropertyValue(0)) << "the key is kept";
    ASSERT_EQ(posts.updates.size(), 2u);
    EXPECT_EQ(posts.updates[0], (DefaultUpdate{PropertyValue(1), PropertyValue(0)}));
    EXPECT_EQ(posts.updates[1], (DefaultUpdate{PropertyValue(0), PropertyValue(1)}));
}

TEST_F(OptionalBoolDefaultTest, EnumerationsWithoutAZeroCaseReadTheirDefault) {
    EXPECT_EQ(IntEnumDefault("anchorVisibility", Visibility::hidden).value(), Visibility::hidden);
    defaults().set("anchorVisibility", 0);
    EXPECT_EQ(IntEnumDefault("anchorVisibility", Visibility::hidden).value(), Visibility::hidden);
    EXPECT_TRUE(warnings().empty()) << "0 is what an absent key reads";
    defaults().set("anchorVisibility", 3);
    EXPECT_EQ(IntEnumDefault("anchorVisibility", Visibility::hidden).value(),
              Visibility::activeVisible);
    defaults().set("anchorVisibility", 9);
    IntEnumDefault visibility("anchorVisibility", Visibility::hidden);
    EXPECT_EQ(visibility.value(), Visibility::hidden);
    EXPECT_EQ(warnings().size(), 1u);

    visibility.setValue(Visibility::allVisible);
    EXPECT_EQ(defaults().object("anchorVisibility"), PropertyValue(2));
    CodableDefault unknown;
    unknown.intValue = 7;
    visibility.update(unknown);
    EXPECT_EQ(visibility.value(), Visibility::hidden);
    EXPECT_EQ(defaults().object("anchorVisibility"), PropertyValue(1));
}

TEST_F(OptionalBoolDefaultTest, OptionSetsToggleAndFallBackToTheirDefault) {
    defaults().set("flags", 0);
    OptionSetDefault<Modifiers> flags("flags", Modifiers{5});
    EXPECT_EQ(flags.value().rawValue, 5u) << "an empty stored set reads the default";
    PostRecorder posts("flags");
    flags.announceChanges();

    flags.toggle(Modifiers{4});
    EXPECT_EQ(flags.value().rawValue, 1u);
    flags.toggle(Modifiers{4});
    EXPECT_EQ(flags.value().rawValue, 5u);
    EXPECT_EQ(posts.updates.size(), 2u) << "each toggle writes";
    EXPECT_EQ(defaults().object("flags"), PropertyValue(5));

    flags.setValue(Modifiers{5});
    EXPECT_EQ(posts.updates.size(), 2u);
    CodableDefault empty;
    empty.intValue = 0;
    flags.setValue(Modifiers{2});
    flags.update(empty);
    EXPECT_EQ(flags.value().rawValue, 5u);
    EXPECT_EQ(OptionSetDefault<Modifiers>("flags", std::nullopt).value().rawValue, 5u);
}

}  // namespace
}  // namespace test
}  // namespace zelvana::settings
