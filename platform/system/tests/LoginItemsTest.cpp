#include "platform/system/LoginItems.hpp"

#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>

#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

namespace fs = std::filesystem;

std::string contents(const fs::path& file) {
    std::ifstream in(file);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

class LoginItemsTest : public ::testing::Test {
protected:
    void TearDown() override { LoginItems::setFailureInjectorForTesting({}); }

    fs::path loginItems() const { return folders.data() / "zelvana/LoginItems"; }

    // <root>/Zelvana.app with "Zelvana Helper.app" among its login items.
    fs::path makeApplication() const {
        const fs::path app = folders.path("Zelvana.app");
        const fs::path helper = app / "Contents/Library/LoginItems/Zelvana Helper.app";
        fs::create_directories(helper / "Contents" / "MacOS");
        PropertyListSerialization::writeXmlFile(
            helper / "Contents" / "Info.plist",
            PropertyValue(PropertyDictionary{{"CFBundleIdentifier", "com.quorrim.Zelvana-Helper"},
                                             {"CFBundleName", "Zelvana Helper"},
                                             {"CFBundleExecutable", "Zelvana Helper"}}));
        return app;
    }

    testing::TemporaryFolders folders;
    const LoginItem zelvana{"com.quorrim.Zelvana", "Zelvana",
                            "/opt/Zelvana.app/Contents/MacOS/Zelvana"};
};

TEST_F(LoginItemsTest, RegisteringWritesTheSimulatedMachinesEntryThatStatusReads) {
    const fs::path entry = loginItems() / "com.quorrim.Zelvana.desktop";
    EXPECT_EQ(LoginItems::entryPath("com.quorrim.Zelvana"), entry);
    EXPECT_EQ(LoginItems::status(zelvana), LoginItemStatus::NotRegistered);

    EXPECT_FALSE(LoginItems::registerItem(zelvana));
    EXPECT_EQ(contents(entry),
              "[Desktop Entry]\n"
              "Type=Application\n"
              "Name=Zelvana\n"
              "Exec=\"/opt/Zelvana.app/Contents/MacOS/Zelvana\"\n"
              "X-Zelvana-BundleIdentifier=com.quorrim.Zelvana\n"
              "X-GNOME-Autostart-enabled=true\n");
    EXPECT_EQ(LoginItems::status(zelvana), LoginItemStatus::Enabled);
    EXPECT_FALSE(fs::exists(folders.config() / "autostart")) << "the host's session starts nothing";
    EXPECT_FALSE(fs::exists(folders.home() / ".config"));
    // Another copy of the program is not registered by this entry.
    LoginItem elsewhere = zelvana;
    elsewhere.executablePath = "/home/me/Zelvana.app/Contents/MacOS/Zelvana";
    EXPECT_EQ(LoginItems::status(elsewhere), LoginItemStatus::NotRegistered);
    // Switched off in the system's settings.
    std::ofstream(entry, std::ios::app) << "Hidden=true\n";
    EXPECT_EQ(LoginItems::status(zelvana), LoginItemStatus::NotRegistered);

    EXPECT_FALSE(LoginItems::unregisterItem(zelvana));
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_FALSE(LoginItems::unregisterItem(zelvana));  // already gone: fine
    EXPECT_EQ(LoginItems::entryPath("../outside"), std::nullopt);
}

TEST_F(LoginItemsTest, ConcurrentRegistrationsLeaveOneWholeEntry) {
    LoginItem shortPath = zelvana;
    shortPath.executablePath = "/a";
    LoginItem longPath = zelvana;
    longPath.executablePath = "/" + std::string(4000, 'b');
    std::atomic<int> failures{0};
    auto registerMany = [&failures](const LoginItem& item) {
        for (int i = 0; i < 200; ++i) {
            if (LoginItems::registerItem(item)) ++failures;
        }
    };
    std::thread first(registerMany, shortPath);
    std::thread second(registerMany, longPath);
    first.join();
    second.join();
    EXPECT_EQ(failures, 0);
    // Whichever won, the entry is the whole of one of them.
    EXPECT_NE(LoginItems::status(shortPath) == LoginItemStatus::Enabled,
              LoginItems::status(longPath) == LoginItemStatus::Enabled);
    EXPECT_TRUE(contents(*LoginItems::entryPath(zelvana.bundleIdentifier))
                    .ends_with("X-GNOME-Autostart-enabled=true\n"));
}

TEST_F(LoginItemsTest, ExecQuotesAwkwardProgramPaths) {
    LoginItem awkward = zelvana;
    awkward.executablePath = "/A b/100%/$x`\"q\\z";
    EXPECT_FALSE(LoginItems::registerItem(awkward));
    const std::string text = contents(loginItems() / "com.quorrim.Zelvana.desktop");
    EXPECT_NE(text.find("Exec=\"/A b/100%%/\\\\$x\\\\`\\\\\"q\\\\\\\\z\"\n"), std::string::npos)
        << text;
    EXPECT_EQ(LoginItems::status(awkward), LoginItemStatus::Enabled);
}

TEST_F(LoginItemsTest, HelperRouteFindsTheHelperInsideTheApplication) {
    const fs::path app = makeApplication();
    const fs::path entry = loginItems() / "com.quorrim.Zelvana-Helper.desktop";

    EXPECT_TRUE(LoginItems::setLoginItemEnabled(app, "com.quorrim.Zelvana-Helper", true));
    EXPECT_TRUE(LoginItems::isLoginItemEnabled("com.quorrim.Zelvana-Helper"));
    const std::string text = contents(entry);
    EXPECT_NE(text.find("Exec=\"" + app.string() +
                        "/Contents/Library/LoginItems/Zelvana Helper.app/Contents/MacOS/"
                        "Zelvana Helper\"\n"),
              std::string::npos)
        << text;
    EXPECT_NE(text.find("Name=Zelvana Helper\n"), std::string::npos);

    // Only an exact identifier names the helper.
    EXPECT_FALSE(LoginItems::setLoginItemEnabled(app, "com.quorrim.Zelvana", true));
    EXPECT_FALSE(fs::exists(loginItems() / "com.quorrim.Zelvana.desktop"));
    EXPECT_FALSE(LoginItems::setLoginItemEnabled(folders.path("Nowhere.app"),
                                                 "com.quorrim.Zelvana-Helper", true));

    EXPECT_TRUE(LoginItems::setLoginItemEnabled(app, "com.quorrim.Zelvana-Helper", false));
    EXPECT_FALSE(fs::exists(entry));
    EXPECT_FALSE(LoginItems::isLoginItemEnabled("com.quorrim.Zelvana-Helper"));
}

TEST_F(LoginItemsTest, InjectedFailuresStopTheOperation) {
    const fs::path app = makeApplication();
    int setEnabledCalls = 0;
    LoginItems::setFailureInjectorForTesting(
        [&](LoginItems::Operation operation, const LoginItem& item) -> std::optional<std::string> {
            if (operation == LoginItems::Operation::Register) return "Operation not permitted";
            if (operation == LoginItems::Operation::SetEnabled) {
                EXPECT_EQ(item.bundleIdentifier, "com.quorrim.Zelvana-Helper");
                if (++setEnabledCalls == 1) return "busy";
            }
            return std::nullopt;
        });

    const auto error = LoginItems::registerItem(zelvana);
    ASSERT_TRUE(error);
    EXPECT_EQ(error->localizedDescription, "Operation not permitted");
    EXPECT_EQ(LoginItems::status(zelvana), LoginItemStatus::NotRegistered);

    EXPECT_FALSE(LoginItems::setLoginItemEnabled(app, "com.quorrim.Zelvana-Helper", true));
    EXPECT_FALSE(LoginItems::isLoginItemEnabled("com.quorrim.Zelvana-Helper"));
    EXPECT_TRUE(LoginItems::setLoginItemEnabled(app, "com.quorrim.Zelvana-Helper", true));
    EXPECT_TRUE(LoginItems::isLoginItemEnabled("com.quorrim.Zelvana-Helper"));
}

}  // namespace
}  // namespace zelvana::platform
