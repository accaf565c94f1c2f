#include "Zelvana/LaunchOnLogin.hpp"

#include <gtest/gtest.h>

#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/tests/RelaunchTestSupport.hpp"

namespace zelvana::core::test {
namespace {

using platform::LoginItems;
using Operation = platform::LoginItems::Operation;

constexpr const char* kHelper = "com.quorrim.Zelvana-Helper";

class LaunchOnLoginTest : public RelaunchFixture {
protected:
    // Records the login-item operations from now on; those whose number
    // (from 1) is in `failing` fail with "denied".
    void recordOperations(std::set<int> failing = {}) {
        operations.clear();
        LoginItems::setFailureInjectorForTesting(
            [this, failing](Operation operation, const platform::LoginItem&) {
                operations.push_back(operation);
                return failing.contains(static_cast<int>(operations.size()))
                           ? std::optional<std::string>("denied")
                           : std::nullopt;
            });
    }

    bool helperEntryExists() const { return LoginItems::isLoginItemEnabled(kHelper); }
    std::vector<std::string> systemLogMessages() const { return systemLog.messages(); }

    std::vector<Operation> operations;
};

TEST_F(LaunchOnLoginTest, FromMacOS13TheApplicationRegistersItselfOnlyWhenNeeded) {
    recordOperations();
    LaunchOnLogin::setLaunchOnLogin(true);
    EXPECT_EQ(operations, std::vector{Operation::Register});
    EXPECT_TRUE(LaunchOnLogin::isLaunchOnLoginEnabled());
    EXPECT_FALSE(helperEntryExists()) << "the helper route is for older systems";

    LaunchOnLogin::setLaunchOnLogin(true);
    EXPECT_EQ(operations.size(), 1U) << "already enabled: nothing is touched";

    LaunchOnLogin::setLaunchOnLogin(false);
    EXPECT_EQ(operations.back(), Operation::Unregister);
    EXPECT_FALSE(LaunchOnLogin::isLaunchOnLoginEnabled());
    LaunchOnLogin::setLaunchOnLogin(false);
    EXPECT_EQ(operations.size(), 2U);

    // The setter itself registers afresh over an enabled item.
    operations.clear();
    LaunchOnLogin::setIsLaunchOnLoginEnabled(true);
    LaunchOnLogin::setIsLaunchOnLoginEnabled(true);
    EXPECT_EQ(operations,
              (std::vector{Operation::Register, Operation::Unregister, Operation::Register}));
    EXPECT_TRUE(LaunchOnLogin::isLaunchOnLoginEnabled());
    EXPECT_TRUE(systemLogMessages().empty());
}

TEST_F(LaunchOnLoginTest, AFailingLoginServiceOnlyWritesTheSystemLog) {
    recordOperations({1});
    LaunchOnLogin::setLaunchOnLogin(true);
    EXPECT_FALSE(LaunchOnLogin::isLaunchOnLoginEnabled());
    ASSERT_EQ(systemLog.entries().size(), 1U);
    EXPECT_EQ(systemLog.entries()[0].type, platform::LogType::Default);
    EXPECT_EQ(systemLog.entries()[0].message, "Failed to enable launch at login: denied");

    LaunchOnLogin::setLaunchOnLogin(true);  // now succeeds
    recordOperations({1});
    LaunchOnLogin::setLaunchOnLogin(false);
    EXPECT_TRUE(LaunchOnLogin::isLaunchOnLoginEnabled());
    EXPECT_EQ(systemLogMessages().back(), "Failed to disable launch at login: denied");

    clock.advance(1000);
    EXPECT_EQ(operations.size(), 1U) << "no retry";
    EXPECT_TRUE(recorder->warnings().empty());
}

TEST_F(LaunchOnLoginTest, BeforeMacOS13TheHelperIsSwitchedOffFirstAndRetriedOnce) {
    platform::SystemVersion::setMajorVersion(12);
    ASSERT_TRUE(LoginItems::setLoginItemEnabled(bundle.bundlePath(), kHelper, true));
    recordOperations({2});
    LaunchOnLogin::setLaunchOnLogin(true);
    EXPECT_EQ(operations, (std::vector{Operation::SetEnabled, Operation::SetEnabled}));
    EXPECT_FALSE(helperEntryExists()) << "switched off first, then the wanted value failed";
    const auto warning = log->find("Unable to set launch on login to true. Retrying in 0.1s");
    ASSERT_TRUE(warning);
    EXPECT_EQ(warning->level, logging::Level::warning);
    EXPECT_EQ(warning->file, "LaunchOnLogin");
    EXPECT_EQ(warning->function, "setLaunchOnLogin()") << "as the facade shortens it";

    clock.advance(99);
    EXPECT_EQ(operations.size(), 2U);
    clock.advance(1);
    EXPECT_EQ(operations.size(), 3U);
    EXPECT_TRUE(helperEntryExists()) << "the retry succeeded";
    EXPECT_FALSE(log->find("Still unable to set launch on login"));
    EXPECT_FALSE(LaunchOnLogin::isLaunchOnLoginEnabled()) << "the application's own item";
}

TEST_F(LaunchOnLoginTest, BeforeMacOS13TheFirstSwitchMayFailAndTheRetryGivesUp) {
    platform::SystemVersion::setMajorVersion(12);
    recordOperations({1});
    LaunchOnLogin::setLaunchOnLogin(true);
    EXPECT_TRUE(helperEntryExists()) << "switching off first is allowed to fail";
    EXPECT_TRUE(recorder->warnings().empty());

    recordOperations({1, 2, 3, 4});
    LaunchOnLogin::setLaunchOnLogin(false);
    EXPECT_EQ(recorder->warnings(),
              std::vector<std::string>{"Unable to set launch on login to false. Retrying in 0.1s"});
    clock.advance(100);
    EXPECT_EQ(recorder->warnings().back(), "Still unable to set launch on login");
    clock.advance(10000);
    EXPECT_EQ(operations.size(), 3U) << "no third attempt";
    EXPECT_EQ(recorder->warnings().size(), 2U);
}

TEST_F(LaunchOnLoginTest, StartUpAppliesTheSettingAndStopsOnlyARunningHelper) {
    GlobalDefaults::launchOnLogin().setValue(true);
    LaunchOnLogin::terminateRunningHelper();
    EXPECT_TRUE(LaunchOnLogin::isLaunchOnLoginEnabled());
    EXPECT_TRUE(receivedByHelper().empty()) << "no helper runs";

    runsAs("com.quorrim.Zelvana");
    runsAs("com.quorrim.Zelvana-Helper2");
    runsAs("com.quorrim.Zelvana-Helpe");
    LaunchOnLogin::terminateRunningHelper();
    EXPECT_TRUE(receivedByHelper().empty()) << "only the exact identifier counts";

    runsAs(kHelper);
    GlobalDefaults::launchOnLogin().setValue(false);
    LaunchOnLogin::terminateRunningHelper();
    EXPECT_FALSE(LaunchOnLogin::isLaunchOnLoginEnabled());
    EXPECT_EQ(receivedByHelper(),
              std::vector<std::string>{"com.quorrim.Zelvana.terminateLauncher from "
                                       "com.quorrim.Zelvana"});
    const auto line = log->find("Sending terminate message to launcher");
    ASSERT_TRUE(line);
    EXPECT_EQ(line->level, logging::Level::info);
    EXPECT_EQ(line->file, "LaunchOnLogin");
    EXPECT_EQ(line->function, "killLauncher()");
}

}  // namespace
}  // namespace zelvana::core::test
