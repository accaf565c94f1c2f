#include "settings/IntDefault.hpp"

#include <gtest/gtest.h>

#include "settings/DoubleDefault.hpp"
#include "settings/FloatDefault.hpp"
#include "settings/tests/SettingsTestSupport.hpp"

namespace zelvana::settings::test {
namespace {

using platform::PropertyValue;

class IntDefaultTest : public SettingsTest {};

TEST_F(IntDefaultTest, AStoredZeroReadsAsANonZeroDefault) {
    EXPECT_EQ(IntDefault("gridWidth", 3).value(), 3) << "absent";
    EXPECT_EQ(IntDefault("arrowFlags", 0).value(), 0);
    defaults().set("gridWidth", 5);
    EXPECT_EQ(IntDefault("gridWidth", 3).value(), 5);

    // Writing 0 stores 0, but the next launch reads the default.
    IntDefault width("gridWidth", 3);
    width.setValue(0);
    EXPECT_EQ(width.value(), 0);
    EXPECT_EQ(defaults().object("gridWidth"), PropertyValue(0));
    EXPECT_EQ(IntDefault("gridWidth", 3).value(), 3);
    EXPECT_TRUE(warnings().empty());
}

TEST_F(IntDefaultTest, FloatingPointSettingsFollowTheSameRule) {
    defaults().set("spaceSizeFactor", 0.0);
    defaults().set("restartOnWakeDelay", 0);
    EXPECT_DOUBLE_EQ(DoubleDefault("spaceSizeFactor", 0.13).value(), 0.13);
    EXPECT_FLOAT_EQ(FloatDefault("restartOnWakeDelay", 1.0F).value(), 1.0F);

    defaults().set("spaceSizeFactor", 0.2);
    EXPECT_DOUBLE_EQ(DoubleDefault("spaceSizeFactor", 0.13).value(), 0.2);

    FloatDefault delay("restartOnWakeDelay", 1.0F);
    PostRecorder posts("restartOnWakeDelay");
    delay.announceChanges();
    delay.setValue(2.5F);
    EXPECT_DOUBLE_EQ(delay.doubleValue(), 2.5);
    EXPECT_EQ(defaults().object("restartOnWakeDelay"), PropertyValue(2.5));
    ASSERT_EQ(posts.updates.size(), 1u);
    EXPECT_EQ(posts.updates[0], (DefaultUpdate{PropertyValue(2.5), PropertyValue(1.0)}));
}

TEST_F(IntDefaultTest, GarbageNumbersReadAsTheDefault) {
    defaults().set("anchorCountCap", platform::PropertyDictionary{{"cap", 4}});
    defaults().set("spaceSizeFactor", "big");
    EXPECT_EQ(IntDefault("anchorCountCap", 50).value(), 50);
    EXPECT_DOUBLE_EQ(DoubleDefault("spaceSizeFactor", 0.13).value(), 0.13);
    EXPECT_EQ(warnings().size(), 2u);
}

TEST_F(IntDefaultTest, SnapshotFieldsApplyOnlyWhenPresent) {
    IntDefault width("gridWidth", 3);
    DoubleDefault factor("spaceSizeFactor", 0.13);
    PostRecorder posts("gridWidth");
    width.announceChanges();

    width.update(CodableDefault{});
    factor.update(CodableDefault{});
    EXPECT_FALSE(defaults().object("gridWidth"));
    EXPECT_FALSE(defaults().object("spaceSizeFactor"));

    CodableDefault four;
    four.intValue = 4;
    width.update(four);
    EXPECT_EQ(width.value(), 4);
    EXPECT_EQ(defaults().object("gridWidth"), PropertyValue(4));
    EXPECT_TRUE(posts.updates.empty()) << "a snapshot applies without notifications";
    EXPECT_EQ(width.toCodable(), four);
}

}  // namespace
}  // namespace zelvana::settings::test
