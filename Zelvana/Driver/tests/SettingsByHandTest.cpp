#include <gtest/gtest.h>

#include <filesystem>
#include <nlohmann/json.hpp>
#include <sstream>

#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "Zelvana/AppDelegate.hpp"
#include "Zelvana/Driver/CommandInput.hpp"
#include "Zelvana/InfoPopover.hpp"
#include "Zelvana/StatusItem.hpp"
#include "Zelvana/ZelvanaManager.hpp"
#include "Zelvana/tests/ScreenFixture.hpp"
#include "input/ModifierTrigger.hpp"
#include "platform/appkit/Alert.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Popover.hpp"
#include "platform/appkit/Sound.hpp"
#include "platform/appkit/StatusBar.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/appkit/WindowController.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/input/SymbolicHotKeys.hpp"
#include "platform/testing/ScopedMainBundle.hpp"
#include "platform/testing/SimulatedInput.hpp"

namespace zelvana::driver::test {
namespace {

namespace fs = std::filesystem;
using platform::PropertyValue;

// The launched application on a bundle with its storyboards, worked through
// the command lines as a person at its windows.
class SettingsByHandTest : public core::test::ScreenFixture {
protected:
    SettingsByHandTest() {
        for (const char* name : {"Main.storyboard", "MessageDisplay.storyboard"}) {
            fs::copy_file(fs::path(ZELVANA_RESOURCES_DIR) / name, bundle.resourcePath() / name);
        }
        reset();
        addDisplay(1);
        delegate = std::make_unique<core::AppDelegate>();
        platform::Application::shared().setDelegate(delegate.get());
        delegate->applicationDidFinishLaunching();
        clock.advance(4000);  // the panel greeting the first space has closed
        input.watchScreen();
        printed.clear();
    }
    ~SettingsByHandTest() override {
        delegate.reset();
        reset();
    }
    static void reset() {
        platform::testing::resetSimulatedInput();
        platform::StatusBar::system()->resetForTesting();
        core::StatusItem::resetSharedForTesting();
        keyboardshortcuts::resetForTesting();
        platform::Alert::resetForTesting();
        platform::Sound::resetForTesting();
    }

    void run(std::initializer_list<const char*> lines) {
        for (const char* line : lines) input.handleTerminalLine(line);
    }
    platform::Window* settingsWindow() const {
        auto* controller = delegate->prefsWindowController();
        return controller ? controller->window() : nullptr;
    }
    bool settingsShown() const { return settingsWindow() && settingsWindow()->isVisible(); }
    std::optional<std::int64_t> stored(const std::string& key) const {
        const auto value = defaults().object(key);
        return value ? value->asInteger() : std::nullopt;
    }
    nlohmann::json storedShow() const {
        const auto text = defaults().object("KeyboardShortcuts_show");
        return text && text->stringValue() ? nlohmann::json::parse(*text->stringValue())
                                           : nlohmann::json();
    }
    // The middle of the control of that kind and name, as "x y".
    std::string middleOf(const std::string& kind, const std::string& name) {
        printed.clear();
        run({"controls"});
        for (const auto& line : printed) {
            std::istringstream words(line.substr(line.find(name) + name.size() + 1));
            double x = 0, y = 0, width = 0, height = 0;
            words >> x >> y >> width >> height;
            if (line.starts_with("control: " + kind + " \"" + name + "\"")) {
                return std::to_string(x + width / 2) + " " + std::to_string(y + height / 2);
            }
        }
        ADD_FAILURE() << "no " << kind << " " << name;
        return "0 0";
    }

    platform::testing::ScopedMainBundle bundle{{{"CFBundleName", "Zelvana"},
                                                {"CFBundleIdentifier", "com.quorrim.Zelvana"},
                                                {"CFBundleShortVersionString", "3.0"},
                                                {"CFBundleVersion", "120"},
                                                {"NSHumanReadableCopyright", "© Quorrim"}},
                                               std::nullopt,
                                               "Zelvana"};
    std::unique_ptr<core::AppDelegate> delegate;
    std::vector<std::string> printed;
    std::vector<std::string> errors;
    CommandInput input{[] {}, [this](const std::string& line) { printed.push_back(line); },
                       [this](const std::string& line) { errors.push_back(line); },
                       [this] { return settingsWindow(); }};
};

TEST_F(SettingsByHandTest, SetWorksTheWindowsControlsAndLeavesTheWindowAsItFoundIt) {
    run({"set gesture 3", "set gridWidth 4", "set repetitionMode true", "set arrowFlags 786432",
         "set autoRestartOnWake true", "set relaunchOpensMenu true"});
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_EQ(stored("gesture"), 3);
    EXPECT_EQ(stored("gridWidth"), 4);
    EXPECT_EQ(stored("repetitionMode"), 1) << "the person's explicit choice, on";
    EXPECT_EQ(stored("arrowFlags"), 0xC0000);
    EXPECT_EQ(stored("autoRestartOnWake"), 1);
    EXPECT_TRUE(defaults().boolForKey("relaunchOpensMenu"));
    EXPECT_EQ(delegate->manager()->modifierTrigger().modifierFlags().rawValue(), 0xC0000u)
        << "the hub heard of the arrow keys' modifiers";
    EXPECT_FALSE(settingsShown()) << "closed again, as it was found";
    EXPECT_TRUE(printed.empty()) << "the pop-ups' menus open unprinted: " << printed.front();

    run({"menu Settings\xE2\x80\xA6", "set arrowFlags 0"});
    EXPECT_EQ(stored("arrowFlags"), 0);
    EXPECT_TRUE(settingsShown()) << "left open, as it was found";
}

TEST_F(SettingsByHandTest, SetRefusesWhatTheControlCouldNeverGiveNamingWhatItCan) {
    run({"set arrowFlags 1", "set gridWidth 9", "set gesture \"four\"", "set launchOnLogin 1"});
    EXPECT_EQ(errors, (std::vector<std::string>{
                          "terminal line 1: \"arrowFlags\" takes 0 or a sum of 131072 (shift), "
                          "262144 (ctrl), 524288 (opt) and 1048576 (cmd)",
                          "terminal line 2: \"gridWidth\" takes a whole number from 1 to 8",
                          "terminal line 3: \"gesture\" takes a whole number from 0 to 8",
                          "terminal line 4: \"launchOnLogin\" takes true or false"}));
    for (const char* key : {"arrowFlags", "gridWidth", "gesture", "launchOnLogin"}) {
        EXPECT_FALSE(defaults().object(key)) << key;
    }
    EXPECT_FALSE(settingsShown());
}

TEST_F(SettingsByHandTest, RecordTypesIntoTheRecorderWhoseOwnChecksApply) {
    run({"record show ctrl+opt+space"});
    EXPECT_EQ(storedShow(),
              nlohmann::json::parse(R"({"carbonKeyCode":49,"carbonModifiers":6144})"));
    EXPECT_FALSE(settingsShown());
    run({"record show a", "record show shift+b", "record show cmd", "record reverse cmd+a",
         "record show ctrl+opt+space"});
    EXPECT_EQ(platform::Sound::beepCount(), 2) << "the recorder beeped at a and shift-b";
    EXPECT_EQ(errors,
              (std::vector<std::string>{
                  "terminal line 2: a shortcut needs cmd, opt or ctrl, unless its key is f1-f20",
                  "terminal line 3: a shortcut needs cmd, opt or ctrl, unless its key is f1-f20",
                  "terminal line 4: a shortcut needs a key besides its modifiers",
                  "terminal line 5: only the \"show\" shortcut has a recorder",
                  "terminal line 6: the keys did not reach the recorder: another shortcut took "
                  "them"}));
    run({"record show f5"});
    EXPECT_EQ(storedShow(), nlohmann::json::parse(R"({"carbonKeyCode":96,"carbonModifiers":0})"));
    EXPECT_FALSE(keyboardshortcuts::handlingPaused()) << "no recorder is left recording";
}

TEST_F(SettingsByHandTest, AChordTheSystemListsBringsUpItsAlertWhichThePersonAnswersBothWays) {
    // Move focus to the menu bar: listed by the system, carried out by the application.
    platform::SymbolicHotKeys::shared().add(120, 0x1000, platform::SymbolicHotKeys::State::enabled,
                                            platform::SymbolicHotKeys::Handler::application);
    // While it waits, the window under it takes no click and a wrong title is no answer.
    platform::mainQueue().async([this] {
        run({"answer Nope", "record show cmd+k", "set launchOnLogin true", "answer OK"});
    });
    run({"record show ctrl+f2"});
    EXPECT_EQ(printed, (std::vector<std::string>{
                           "alert: This keyboard shortcut cannot be used as it's already a "
                           "system-wide keyboard shortcut.",
                           "alert button: OK", "alert button: Use Anyway"}));
    EXPECT_EQ(errors,
              (std::vector<std::string>{"terminal line 2: the alert has no button \"Nope\"",
                                        "terminal line 3: the recorder field is not recording",
                                        "terminal line 4: the window takes no clicks now"}));
    EXPECT_FALSE(defaults().object("launchOnLogin")) << "the sheet held the window back";
    EXPECT_FALSE(defaults().object("KeyboardShortcuts_show")) << "OK stores nothing";
    errors.clear();

    platform::mainQueue().async([this] { run({"answer Use Anyway"}); });
    run({"record show ctrl+f2"});
    EXPECT_EQ(storedShow(),
              nlohmann::json::parse(R"({"carbonKeyCode":120,"carbonModifiers":4096})"));
    EXPECT_TRUE(errors.empty()) << errors.front();
    EXPECT_FALSE(settingsShown());
    EXPECT_FALSE(platform::Application::shared().modalWindow());

    run({"click 1000 500"});
    EXPECT_EQ(errors, std::vector<std::string>{
                          "terminal line 8: there is nothing at (1000, 500) to click"});
}

TEST_F(SettingsByHandTest, ControlsListTheFrontWindowAndAPopUpsMenuIsPrintedAndPickedFrom) {
    run({"controls"});
    EXPECT_EQ(errors, std::vector<std::string>{"terminal line 1: no window of Zelvana's is open"});
    run({"menu Settings\xE2\x80\xA6", "controls"});
    // Each recorder laid out beside its row's label, as wide as it asks.
    std::vector<std::string> recorders;
    for (const auto& line : printed) {
        if (line.starts_with("control: recorder")) recorders.push_back(line);
    }
    ASSERT_EQ(recorders.size(), 2u);
    EXPECT_TRUE(recorders[0].starts_with("control: recorder \"Show Zelvana:\" "));
    EXPECT_TRUE(recorders[1].starts_with("control: recorder \"Arrow keys:\" "));
    EXPECT_NE(recorders[0].find(" 130 "), std::string::npos) << recorders[0];

    const auto popUp = middleOf("popup", "Grid width:");
    printed.clear();
    input.handleTerminalLine("click " + popUp);
    EXPECT_EQ(printed.size(), 8u);
    EXPECT_EQ(printed.at(0), "menu: 1 column");
    EXPECT_EQ(printed.at(2), "menu: \xE2\x9C\x93 3 columns") << "the width shown, checked";
    run({"menu Nope"});
    EXPECT_EQ(errors.back(), "terminal line 6: the menu has no item \"Nope\"");
    input.handleTerminalLine("click " + popUp);
    run({"menu 5 columns"});
    EXPECT_EQ(stored("gridWidth"), 5);
    EXPECT_FALSE(platform::Menu::trackingMenu());

    run({"answer OK", "close", "close"});
    EXPECT_EQ(errors.size(), 4u);
    EXPECT_EQ(errors.at(2), "terminal line 9: there is no alert to answer");
    EXPECT_EQ(errors.at(3), "terminal line 11: no window of Zelvana's is open");
    EXPECT_FALSE(settingsShown());
}

TEST_F(SettingsByHandTest, APopoverClosesAtAClickOnTheStatusItemAndAtEscape) {
    fs::copy_file(fs::path(ZELVANA_RESOURCES_DIR) / "Info.storyboard",
                  bundle.resourcePath() / "Info.storyboard");
    core::StatusItem::shared().showWelcomePopover();  // as the first launch greets
    const auto& welcome = *core::StatusItem::shared().welcomePopover()->popover();
    ASSERT_TRUE(welcome.isShown());
    run({"menu Settings\xE2\x80\xA6"});
    EXPECT_FALSE(welcome.isShown()) << "the click on the status item closed it";
    printed.clear();
    run({"controls"});
    EXPECT_NE(
        std::ranges::find_if(printed,
                             [](const std::string& line) {
                                 return line.starts_with("control: recorder \"Show Zelvana:\"");
                             }),
        printed.end())
        << "the settings window is the front one";

    input.handleTerminalLine("click " + middleOf("button", "\u24D8"));
    EXPECT_EQ(platform::Popover::shownPopovers().size(), 1u);
    run({"press escape"});
    EXPECT_TRUE(platform::Popover::shownPopovers().empty()) << "Escape closes an info popover";
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(SettingsByHandTest, AboutShowsTheStandardPanelThatAPersonCloses) {
    run({"menu About"});
    printed.clear();
    run({"controls"});
    ASSERT_EQ(printed.size(), 3u);
    EXPECT_EQ(printed[0].rfind("control: label \"Zelvana\" ", 0), 0u) << printed[0];
    EXPECT_EQ(printed[1].rfind("control: label \"Version 3.0 (120)\" ", 0), 0u);
    EXPECT_EQ(printed[2].rfind("control: label \"\xC2\xA9 Quorrim\" ", 0), 0u);
    run({"close"});
    EXPECT_FALSE(platform::Application::shared().aboutPanel()->isVisible());
    EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace zelvana::driver::test
