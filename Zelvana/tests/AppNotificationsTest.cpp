#include "Zelvana/AppNotifications.hpp"

#include <gtest/gtest.h>

#include "Zelvana/tests/ScreenFixture.hpp"

namespace zelvana::core::test {
namespace {

TEST(AppNotificationsTest, PostsOnTheDefaultCentreWithTextAsStrings) {
    PostCounter selected(AppNotification::spaceSelected);
    postAppNotification(AppNotification::spaceSelected, "8D2F");
    ASSERT_EQ(selected.count, 1) << "delivered before the post returns";
    EXPECT_EQ(std::any_cast<std::string>(selected.last.object), "8D2F");
    EXPECT_TRUE(selected.last.userInfo.empty());

    postAppNotification(AppNotification::spaceSelected, std::optional<std::string>());
    EXPECT_EQ(selected.count, 2);
    EXPECT_FALSE(selected.last.object.has_value());
    postAppNotification(AppNotification::spaceSelected, std::optional<std::string>("A1"));
    EXPECT_EQ(std::any_cast<std::string>(selected.last.object), "A1");

    PostCounter other(AppNotification::statusMenuWillOpen);
    postAppNotification(AppNotification::plistUpdated, 3);
    EXPECT_EQ(selected.count + other.count, 3) << "no observer of plistUpdated";
}

}  // namespace
}  // namespace zelvana::core::test
