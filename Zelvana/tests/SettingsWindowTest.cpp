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
#include "Zelvana/MessageCheckboxPopover.hpp"
#include "Zelvana/MessagePopover.hpp"
#include "Zelvana/MessageViewController.hpp"
#include "Zelvana/StatusItem.hpp"
#include "Zelvana/ViewController.hpp"
#include "Zelvana/WelcomeInfoViewController.hpp"
#include "Zelvana/ZelvanaManager.hpp"
#include "Zelvana/tests/ScreenFixture.hpp"
#include "input/ModifierTrigger.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/StatusBar.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/appkit/WindowController.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/simulator/Keyboard.hpp"
#include "platform/simulator/Mouse.hpp"
#include "platform/system/LoginItems.hpp"
#include "platform/system/SystemVersion.hpp"
#include "platform/testing/ClippedText.hpp"
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
    // The button of the window that sends `action`.
    platform::Button* buttonSending(const std::string& action, platform::View* view = nullptr) {
        if (!view) view = window()->contentView();
        auto* button = dynamic_cast<platform::Button*>(view);
        if (button && button->action() == action) return button;
        for (const auto& subview : view->subviews()) {
            if (auto* found = buttonSending(action, subview.get())) return found;
        }
        return nullptr;
    }
    static void chooseTag(platform::PopUpButton& button, std::int64_t tag) {
        for (std::size_t i = 0; i < button.items().size(); ++i) {
            if (button.items()[i].tag == tag) button.chooseItemAtIndex(i);
        }
    }
    static platform::Keyboard& keyboard() { return platform::Keyboard::shared(); }

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
    fs::copy_file(fs::path(ZELVANA_RESOURCES_DIR) / "Info.storyboard",
                  bundle.resourcePath() / "Info.storyboard");
    auto* welcome = dynamic_cast<WelcomeInfoViewController*>(
        StatusItem::shared().welcomePopover()->viewController().get());
    ASSERT_NE(welcome, nullptr);
    ASSERT_TRUE(buttonSending("openPrefs:", welcome->view().get())->performClick());
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

TEST_F(SettingsWindowTest, APersonClicksTheRecorderTypesAChordAndChoosesFromAPopUp) {
    ViewController& controller = open();
    platform::testing::clickMiddleOf(*controller.shortcutRecorder());
    ASSERT_TRUE(controller.shortcutRecorder()->isRecording()) << "laid out where the click lands";
    keyboard().press(40, Modifier::command);
    EXPECT_EQ(defaults().stringForKey("KeyboardShortcuts_show"),
              R"({"carbonKeyCode":40,"carbonModifiers":256})");
    EXPECT_FALSE(controller.shortcutRecorder()->isRecording());

    auto& width = popUp("widthSelector");
    platform::testing::clickMiddleOf(width);
    platform::Menu* menu = width.openMenu();
    ASSERT_NE(menu, nullptr);
    const auto row = *menu->frameOfItem(*menu->itemArray()[3]);
    platform::testing::clickOnScreen({row.minX() + 10, row.minY() + row.height() / 2});
    EXPECT_EQ(defaults().integerForKey("gridWidth"), 4);
    EXPECT_EQ(width.title(), "4 columns");
}

TEST_F(SettingsWindowTest, TheArrowRecorderStoresTheFlagsAndClearingStoresZero) {
    ViewController& controller = open();
    platform::testing::clickMiddleOf(*controller.arrowFlagsRecorder());
    keyboard().flagsChanged(Modifier::control);
    keyboard().flagsChanged(Modifier::control | Modifier::option);
    keyboard().flagsChanged(Modifier::control);
    EXPECT_EQ(defaults().integerForKey("arrowFlags"), 0xC0000);

    platform::testing::clickMiddleOf(*controller.arrowFlagsRecorder());
    keyboard().press(51);  // delete clears it
    EXPECT_EQ(defaults().object("arrowFlags"), PropertyValue(std::int64_t{0}));
    EXPECT_EQ(hub.calls, (std::vector<std::string>{"arrows 786432", "arrows 0"}));
}

TEST_F(SettingsWindowTest, TheHubsArrowTriggerFollowsTheRecorder) {
    ViewController& controller = open();
    controller.prefsDelegate = delegate->manager();
    platform::testing::clickMiddleOf(*controller.arrowFlagsRecorder());
    keyboard().flagsChanged(Modifier::command);
    keyboard().flagsChanged({});
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

    ASSERT_TRUE(buttonSending("checkForUpdates:")->performClick());
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
    platform::testing::clickMiddleOf(*controller.shortcutRecorder());
    keyboard().press(40, Modifier::command);
    EXPECT_TRUE(hasReverse(0x100));
    EXPECT_TRUE(hasReverse(0x300));

    platform::testing::clickMiddleOf(*controller.shortcutRecorder());
    keyboard().press(51);
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

    ASSERT_TRUE(buttonSending("showGestureInfo:")->performClick());
    auto* gestureInfo = controller.trackpadInfoPopover();
    ASSERT_NE(gestureInfo, nullptr);
    EXPECT_EQ(gestureInfo->checkbox()->title(), "Relaunch Zelvana on wake");
    EXPECT_EQ(gestureInfo->textField()->stringValue(),
              "In certain circumstances, Zelvana is unable to receive trackpad input from macOS "
              "after sleep and must be relaunched.");
    gestureInfo->checkbox()->performClick();
    EXPECT_EQ(defaults().integerForKey("autoRestartOnWake"), 1);
}

TEST_F(SettingsWindowTest, OpensCentredBelowItsTitleBarWithEveryWordShown) {
    open();
    const platform::Rect visible = window()->screen()->visibleFrame();
    const platform::Rect frame = window()->frame();
    EXPECT_TRUE(visible.contains(frame));
    EXPECT_EQ(frame.minX() - visible.minX(), visible.maxX() - frame.maxX());
    // The title bar lies above the content, with its title and three buttons.
    EXPECT_EQ(window()->title(), "Zelvana Settings");
    EXPECT_EQ(window()->contentRectForFrameRect(frame).height(), frame.height() - 28);
    using Style = platform::Window::Style;
    EXPECT_TRUE(
        window()->styleMask().contains(Style::titled | Style::closable | Style::miniaturizable));
    EXPECT_EQ(platform::testing::textsClippedWithoutEllipsis(*window()->contentView()),
              std::vector<std::string>{});
    // Labels are plain text; the info buttons show only their ⓘ.
    EXPECT_FALSE(dynamic_cast<platform::TextField&>(
                     *window()->contentView()->subviews().front()->subviews().front())
                     .isBezeled());
    for (const auto& info : control<platform::StackView>("shortcutStackView").arrangedSubviews()) {
        if (auto* button = dynamic_cast<platform::Button*>(info.get())) {
            EXPECT_FALSE(button->isBordered()) << button->title();
        }
    }
}

// The settings window's ⓘ buttons, in the order they were laid out.
void collectInfoButtons(const platform::View& view, std::vector<const platform::View*>& found) {
    for (const auto& subview : view.subviews()) {
        const auto* button = dynamic_cast<const platform::Button*>(subview.get());
        if (button && button->title() == "\u24D8") found.push_back(button);
        collectInfoButtons(*subview, found);
    }
}

TEST_F(SettingsWindowTest, InfoPopoversStayOnTheScreenWithEveryWordShown) {
    ViewController& controller = open();
    const platform::Rect visible = window()->screen()->visibleFrame();
    std::vector<const platform::View*> infoButtons;
    collectInfoButtons(*window()->contentView(), infoButtons);
    ASSERT_EQ(infoButtons.size(), 4u) << "shortcut, repetition, arrows, gesture";
    const auto inWindow = [](const platform::View* view) {
        return view->convertRectToView(view->bounds(), nullptr);
    };
    for (const platform::View* info : infoButtons) {
        EXPECT_EQ(inWindow(info).minX(), inWindow(infoButtons.front()).minX()) << "one column";
        EXPECT_EQ(inWindow(info).size, inWindow(infoButtons.front()).size) << "one size";
    }
    auto& mouse = platform::Mouse::shared();
    for (const platform::View* info : infoButtons) {
        const platform::Rect bounds = info->bounds();
        const platform::Point onScreen = window()->convertPointToScreen(
            info->convertPointToView({bounds.width() / 2, bounds.height() / 2}, nullptr));
        mouse.moveTo({onScreen.x, screenHeight - onScreen.y});
        mouse.press(EventType::leftMouseDown);
        mouse.press(EventType::leftMouseUp);
        std::shared_ptr<platform::Popover> popover;
        if (info == infoButtons.back()) {
            ASSERT_NE(controller.trackpadInfoPopover(), nullptr);
            popover = controller.trackpadInfoPopover()->popover();
        } else {
            ASSERT_NE(controller.messagePopover(), nullptr);
            popover = controller.messagePopover()->popover();
        }
        ASSERT_TRUE(popover->isShown());
        EXPECT_TRUE(visible.contains(popover->window()->frame()));
        EXPECT_EQ(platform::testing::textsClippedWithoutEllipsis(*popover->window()->contentView()),
                  std::vector<std::string>{});
        keyboard().press(53);
        EXPECT_FALSE(popover->isShown()) << "Escape closes it";
    }
}

}  // namespace
}  // namespace zelvana::core::test
