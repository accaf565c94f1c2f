#include "platform/system/Updater.hpp"

#include <gtest/gtest.h>

#include "platform/foundation/UserDefaults.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

class RecordingDelegate : public UpdaterDelegate {
public:
    explicit RecordingDelegate(bool allowsRelaunch) : allowsRelaunch_(allowsRelaunch) {}
    bool updaterShouldRelaunchApplication() override {
        ++relaunchQuestions;
        return allowsRelaunch_;
    }
    void updaterDidNotFindUpdate() override { ++noUpdateReports; }

    int relaunchQuestions = 0;
    int noUpdateReports = 0;

private:
    bool allowsRelaunch_;
};

class UpdaterTest : public ::testing::Test {
protected:
    UpdaterTest() { UserDefaults::setStandardSuiteName("com.quorrim.Updater.tests"); }

    testing::TemporaryFolders folders;
};

TEST_F(UpdaterTest, AutomaticChecksFollowTheUserDefaults) {
    StandardUpdaterController controller(nullptr, nullptr);
    EXPECT_FALSE(controller.updater().automaticallyChecksForUpdates()) << "absent reads false";

    UserDefaults::standard().set(Updater::automaticChecksKey, true);
    EXPECT_TRUE(controller.updater().automaticallyChecksForUpdates());

    controller.updater().setAutomaticallyChecksForUpdates(false);
    EXPECT_EQ(UserDefaults::standard().object(Updater::automaticChecksKey), PropertyValue(false));
    // A later launch reads the stored choice.
    UserDefaults::setStandardSuiteName("com.quorrim.Updater.tests");
    EXPECT_FALSE(
        StandardUpdaterController(nullptr, nullptr).updater().automaticallyChecksForUpdates());
}

TEST_F(UpdaterTest, ACheckFindsNoUpdate) {
    RecordingDelegate delegate(true);
    StandardUpdaterController controller(&delegate, nullptr);
    EXPECT_EQ(controller.updaterDelegate(), &delegate);
    EXPECT_EQ(controller.userDriverDelegate(), nullptr);

    controller.checkForUpdates(nullptr);
    controller.updater().checkForUpdates();
    EXPECT_EQ(controller.updater().checkCount(), 2);
    EXPECT_EQ(delegate.noUpdateReports, 2);
    EXPECT_EQ(delegate.relaunchQuestions, 0);
}

TEST_F(UpdaterTest, TheDelegateDecidesWhetherTheUpdaterRelaunches) {
    RecordingDelegate declining(false);
    StandardUpdaterController declined(&declining, nullptr);
    EXPECT_FALSE(declined.updater().simulateUpdateInstalled());
    EXPECT_EQ(declining.relaunchQuestions, 1);
    EXPECT_EQ(declined.updater().relaunchCount(), 0);

    RecordingDelegate allowing(true);
    StandardUpdaterController allowed(&allowing, nullptr);
    EXPECT_TRUE(allowed.updater().simulateUpdateInstalled());
    EXPECT_EQ(allowed.updater().relaunchCount(), 1);

    StandardUpdaterController withoutDelegate(nullptr, nullptr);
    EXPECT_TRUE(withoutDelegate.updater().simulateUpdateInstalled());
}

}  // namespace
}  // namespace zelvana::platform
