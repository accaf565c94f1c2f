#include <gtest/gtest.h>

#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "Zelvana/AppDelegate.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/LaunchOnLogin.hpp"
#include "Zelvana/MessageViewController.hpp"
#include "Zelvana/StatusItem.hpp"
#include "Zelvana/ViewController.hpp"
#include "Zelvana/WelcomeInfoViewController.hpp"
#include "Zelvana/ZelvanaManager.hpp"
#include "Zelvana/tests/ScreenFixture.hpp"
#include "input/ModifierTrigger.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/StatusBar.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/appkit/WindowController.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/system/LoginItems.hpp"
#include "platform/system/SystemVersion.hpp"
#include "platform/testing/ScopedMainBundle.hpp"
#include "platform/testing/SimulatedInput.hpp"

namespace zelvana::core::test {
namespace {

namespace fs = std::filesystem;
using platform::ControlState;
using platform::Event;
using platform::EventType;
using platform::Modifier;
using platform::PropertyValue;

// What the hub would hear.
struct FakeHub : PreferencesDelegate {
    std::vector<std::string> calls;
    void repetitionModeDidChange() override { calls.push_back("repetition"); }
    void gestureDidChange(std::int64_t gesture) override {
        calls.push_back("gesture " + std::to_string(gesture));
    }
    void arrowFlagsDidChange(platform::ModifierFlags flags) override {
        calls.push_back("arrows " + std::to_string(flags.rawValue()));
    }
};

// The application launched on a bundle with the real storyboards.
class SettingsWindowTest : public ScreenFixture {
protected:
    SettingsWindowTest() {
        for (const char* name : {"Main.storyboard", "MessageDisplay.storyboard"}) {
            fs::copy_file(fs::path(ZELVANA_RESOURCES_DIR) / name, bundle.resourcePath() / name);
        }
        platform::testing::resetSimulatedInput();
        addDisplay(1);
        platform::StatusBar::system()->resetForTesting();
        StatusItem::resetSharedForTesting();
        keyboardshortcuts::resetForTesting();
    }
    ~SettingsWindowTest() override {
        delegate.reset();
        StatusItem::resetSharedForTesting();
        platform::LoginItems::setFailureInjectorForTesting({});
        platform::testing::resetSimulatedInput();
        keyboardshortcuts::resetForTesting();
        logging::Logging::flush();
        logging::Logging::removeAllDestinations();
    }

    // Launches and opens the settings window as the status menu's item does.
    ViewController& open() {
        delegate = std::make_unique<AppDelegate>();
        platform::Application::shared().setDelegate(delegate.get());
        delegate->applicationDidFinishLaunching();
        logging::Logging::addDestination(recorder);
        EXPECT_TRUE(platform::Application::shared().sendAction("openPreferences:", nullptr));
        window()->makeKeyWindow();
        auto* controller = dynamic_cast<ViewController*>(
            delegate->prefsWindowController()->contentViewController());
        controller->prefsDelegate = &hub;
        return *controller;
    }
    platform::Window* window() const { return delegate->prefsWindowController()->window(); }
    template <class Control>
    Control& control(const char* identifier) {
        return dynamic_cast<Control&>(*window()->contentView()->findView(identifier));
    }
    platform::Button& checkbox(const char* identifier) {
        return control<platform::Button>(identifier);
    }
    platform::PopUpButton& popUp(const char* identifier) {
        return control<platform::PopUpButton>(identifier);
    }
    static void chooseTag(platform::PopUpButton& button, std::int64_t tag) {
        for (std::size_t i = 0; i < button.items().size(); ++i) {
            if (button.items()[i].tag == tag) button.chooseItemAtIndex(i);
        }
    }
    static void send(const Event& event) { platform::Application::shared().sendEvent(event); }
    static Event flagsChanged(platform::ModifierFlags held) {
        Event event = Event::keyEvent(EventType::flagsChanged, 0, held, "", "");
        return event;
    }

    platform::testing::ScopedMainBundle bundle{{{"CFBundleName", "Zelvana"},
                                                {"CFBundleIdentifier", "com.quorrim.Zelvana"},
                                                {"CFBundleShortVersionString", "3.0"},
                                                {"CFBundleVersion", "120"}},
                                               std::nullopt,
                                               "Zelvana"};
    std::unique_ptr<AppDelegate> delegate;
    FakeHub hub;
};

TEST_F(SettingsWindowTest, TheStatusMenusItemOpensTheWindowWithTheHubAsItsDelegate) {
    delegate = std::make_unique<AppDelegate>();
    platform::Application::shared().setDelegate(delegate.get());
    delegate->applicationDidFinishLaunching();
    ASSERT_TRUE(platform::Application::shared().sendAction("openPreferences:", nullptr));
    ASSERT_TRUE(window()->isVisible());
    auto* controller =
        dynamic_cast<ViewController*>(delegate->prefsWindowController()->contentViewController());
    ASSERT_NE(controller, nullptr);
    EXPECT_EQ(controller->prefsDelegate, delegate->manager());

    window()->close();
    WelcomeInfoViewController welcome;
    ASSERT_TRUE(welcome.performAction("openPrefs:", nullptr));
    EXPECT_TRUE(window()->isVisible());
}

TEST_F(SettingsWindowTest, EveryControlShowsItsSettingWhenTheWindowLoads) {
    defaults().set("gesture", PropertyValue(std::int64_t{3}));
    defaults().set("gridWidth", PropertyValue(std::int64_t{5}));
    defaults().set("menuBarSpaceNumber", PropertyValue(std::int64_t{1}));
    defaults().set("repetitionMode", PropertyValue(std::int64_t{1}));
    defaults().set("hideMenuBarIcon", PropertyValue(true));
    defaults().set("arrowFlags", PropertyValue(std::int64_t{0x40000}));
    defaults().set("SUEnableAutomaticChecks", PropertyValue(true));
    defaults().set("KeyboardShortcuts_show",
                   PropertyValue(R"({"carbonKeyCode":40,"carbonModifiers":256})"));
    ViewController& controller = open();

    EXPECT_EQ(popUp("trackpadGestureSelector").selectedTag(), 3);
    EXPECT_EQ(popUp("widthSelector").selectedTag(), 5);
    for (const char* box : {"menuBarNumberCheckbox", "repeatedExecutionCheckbox",
                            "hideMenuBarIconCheckbox", "updatesCheckbox"}) {
        EXPECT_EQ(checkbox(box).state(), ControlState::on) << box;
    }
    EXPECT_EQ(checkbox("launchOnLoginCheckbox").state(), ControlState::off);
    EXPECT_EQ(checkbox("versionButton").title(), "v3.0 (120)");
    EXPECT_EQ(controller.shortcutRecorder()->stringValue(), "\u2318K");
    EXPECT_EQ(controller.arrowFlagsRecorder()->stringValue(), "\u2303");
    // Each recorder is followed by its info button.
    for (const char* stack : {"shortcutStackView", "arrowFlagsStackView"}) {
        const auto& arranged = control<platform::StackView>(stack).arrangedSubviews();
        ASSERT_EQ(arranged.size(), 2u) << stack;
        EXPECT_EQ(dynamic_cast<platform::Button&>(*arranged[1]).title(), "\u24D8");
    }
}

TEST_F(SettingsWindowTest, ANegativeStoredArrowFlagsShowsNoModifiersAndIsKept) {
    defaults().set("arrowFlags", PropertyValue(std::int64_t{-5}));
    ViewController& controller = open();
    EXPECT_EQ(controller.arrowFlagsRecorder()->stringValue(), "");
    EXPECT_TRUE(recorder->hasWarningContaining("arrowFlags -5 is negative"));
    EXPECT_EQ(defaults().integerForKey("arrowFlags"), -5);
}

TEST_F(SettingsWindowTest, AChoiceNeverMadeOpensUncheckedAndUncheckingStoresOff) {
    open();
    auto& repeat = checkbox("repeatedExecutionCheckbox");
    EXPECT_EQ(repeat.state(), ControlState::off);
    repeat.performClick();
    EXPECT_EQ(defaults().integerForKey("repetitionMode"), 1);
    repeat.performClick();
    EXPECT_EQ(defaults().integerForKey("repetitionMode"), 2);
    EXPECT_EQ(hub.calls, (std::vector<std::string>{"repetition", "repetition"}));

    checkbox("menuBarNumberCheckbox").performClick();
    EXPECT_EQ(defaults().integerForKey("menuBarSpaceNumber"), 1);
    checkbox("menuBarNumberCheckbox").performClick();
    EXPECT_EQ(defaults().integerForKey("menuBarSpaceNumber"), 2);
}

TEST_F(SettingsWindowTest, ThePopUpsStoreTheirTagsAndTheHubHearsOfGestures) {
    open();
    chooseTag(popUp("trackpadGestureSelector"), 3);
    EXPECT_EQ(defaults().integerForKey("gesture"), 3);
    chooseTag(popUp("trackpadGestureSelector"), 0);
    EXPECT_EQ(defaults().object("gesture"), PropertyValue(std::int64_t{0}));
    EXPECT_EQ(hub.calls, (std::vector<std::string>{"gesture 3", "gesture 0"}));

    chooseTag(popUp("widthSelector"), 4);
    EXPECT_EQ(defaults().integerForKey("gridWidth"), 4);
    // A width below one column is stored as one.
    popUp("widthSelector").addItem("none", 0);
    chooseTag(popUp("widthSelector"), 0);
    EXPECT_EQ(defaults().integerForKey("gridWidth"), 1);
    EXPECT_EQ(GlobalDefaults::gridWidth().value(), 1);
}

TEST_F(SettingsWindowTest, TheArrowRecorderStoresTheFlagsAndClearingStoresZero) {
    ViewController& controller = open();
    window()->makeFirstResponder(controller.arrowFlagsRecorder());
    send(flagsChanged(Modifier::control));
    send(flagsChanged(Modifier::control | Modifier::option));
    send(flagsChanged(Modifier::control));
    EXPECT_EQ(defaults().integerForKey("arrowFlags"), 0xC0000);

    window()->makeFirstResponder(controller.arrowFlagsRecorder());
    send(Event::keyEvent(EventType::keyDown, 51, {}, "", ""));
    EXPECT_EQ(defaults().object("arrowFlags"), PropertyValue(std::int64_t{0}));
    EXPECT_EQ(hub.calls, (std::vector<std::string>{"arrows 786432", "arrows 0"}));
}

TEST_F(SettingsWindowTest, TheHubsArrowTriggerFollowsTheRecorder) {
    ViewController& controller = open();
    controller.prefsDelegate = delegate->manager();
    window()->makeFirstResponder(controller.arrowFlagsRecorder());
    send(flagsChanged(Modifier::command));
    send(flagsChanged({}));
    EXPECT_EQ(delegate->manager()->modifierTrigger().modifierFlags().rawValue(), 0x100000u);
}

TEST_F(SettingsWindowTest, TheLaunchCheckboxShowsTheRealStateAfterARefusal) {
    platform::SystemVersion::setMajorVersion(13);
    open();
    platform::LoginItems::setFailureInjectorForTesting(
        [](auto, const platform::LoginItem&) -> std::optional<std::string> { return "denied"; });
    auto& box = checkbox("launchOnLoginCheckbox");
    box.performClick();
    clock.advance(100);
    EXPECT_EQ(box.state(), ControlState::off);
    EXPECT_FALSE(defaults().boolForKey("launchOnLogin"));
    EXPECT_TRUE(recorder->hasWarningContaining("refused to enable launch at login"));

    platform::LoginItems::setFailureInjectorForTesting({});
    box.performClick();
    clock.advance(100);
    EXPECT_EQ(box.state(), ControlState::on);
    EXPECT_TRUE(defaults().boolForKey("launchOnLogin"));
    EXPECT_TRUE(LaunchOnLogin::isLaunchOnLoginActive());
}

TEST_F(SettingsWindowTest, HidingTheIconAndTheUpdatesCheckboxFollowAtOnceBothWays) {
    open();
    checkbox("hideMenuBarIconCheckbox").performClick();
    EXPECT_TRUE(defaults().boolForKey("hideMenuBarIcon"));
    EXPECT_FALSE(StatusItem::shared().nsStatusItem()->isVisible());
    checkbox("hideMenuBarIconCheckbox").performClick();
    EXPECT_TRUE(StatusItem::shared().nsStatusItem()->isVisible());

    auto& updates = checkbox("updatesCheckbox");
    auto& updater = delegate->updaterController()->updater();
    updates.performClick();
    EXPECT_TRUE(updater.automaticallyChecksForUpdates());
    updater.setAutomaticallyChecksForUpdates(false);
    EXPECT_EQ(updates.state(), ControlState::off);

    ASSERT_TRUE(window()->sendAction("checkForUpdates:", nullptr));
    EXPECT_EQ(updater.checkCount(), 1);
}

TEST_F(SettingsWindowTest, RecordingOrClearingShowRederivesItsReverseAtOnce) {
    defaults().set("repetitionMode", PropertyValue(std::int64_t{1}));
    ViewController& controller = open();
    const auto hasReverse = [](std::int64_t modifiers) {
        return std::ranges::any_of(keyboardshortcuts::activeShortcuts(), [&](const auto& s) {
            return s.carbonKeyCode() == 40 && s.carbonModifiers() == modifiers;
        });
    };
    window()->makeFirstResponder(controller.shortcutRecorder());
    send(Event::keyEvent(EventType::keyDown, 40, Modifier::command, "k", "k"));
    EXPECT_TRUE(hasReverse(0x100));
    EXPECT_TRUE(hasReverse(0x300));

    window()->makeFirstResponder(controller.shortcutRecorder());
    send(Event::keyEvent(EventType::keyDown, 51, {}, "", ""));
    EXPECT_TRUE(keyboardshortcuts::activeShortcuts().empty());
}

TEST_F(SettingsWindowTest, InfoButtonsShowTheirTextsBesideThem) {
    ViewController& controller = open();
    const auto& arranged = control<platform::StackView>("shortcutStackView").arrangedSubviews();
    dynamic_cast<platform::Button&>(*arranged[1]).performClick();
    ASSERT_NE(controller.messagePopover(), nullptr);
    const auto& message = controller.messagePopover()->messageView()->message();
    ASSERT_TRUE(message);
    EXPECT_EQ(message->rfind("When you execute this keyboard shortcut", 0), 0u);
    EXPECT_NE(message->find("\n\nIf your shortcut does not include shift"), std::string::npos);

    ASSERT_TRUE(controller.performAction(
        "showGestureInfo:", dynamic_cast<const platform::ActionSender*>(arranged[1].get())));
    auto* gestureInfo = controller.trackpadInfoPopover();
    ASSERT_NE(gestureInfo, nullptr);
    EXPECT_EQ(gestureInfo->checkbox()->title(), "Relaunch Zelvana on wake");
    EXPECT_EQ(gestureInfo->textField()->stringValue(),
              "In certain circumstances, Zelvana is unable to receive trackpad input from macOS "
              "after sleep and must be relaunched.");
    gestureInfo->checkbox()->performClick();
    EXPECT_EQ(defaults().integerForKey("autoRestartOnWake"), 1);
}

}  // namespace
}  // namespace zelvana::core::test
