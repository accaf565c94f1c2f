#include <gtest/gtest.h>

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

#include "Zelvana/AppDelegate.hpp"
#include "Zelvana/LaunchOnLogin.hpp"
#include "Zelvana/MessageCheckboxPopover.hpp"
#include "Zelvana/MessagePopover.hpp"
#include "Zelvana/StatusItem.hpp"
#include "Zelvana/WelcomeInfoViewController.hpp"
#include "Zelvana/tests/ScreenFixture.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/EventMonitors.hpp"
#include "platform/appkit/StatusBar.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/input/SystemVersion.hpp"
#include "platform/system/LoginItems.hpp"
#include "platform/testing/ClippedText.hpp"
#include "platform/testing/ScopedMainBundle.hpp"

namespace zelvana::core::test {
namespace {

namespace fs = std::filesystem;
using platform::ControlState;
using platform::LoginItems;

class PopoversTest : public ScreenFixture {
protected:
    PopoversTest() {
        for (const char* name : {"Info.storyboard", "MessageDisplay.storyboard"}) {
            fs::copy_file(fs::path(ZELVANA_RESOURCES_DIR) / name, bundle.resourcePath() / name);
        }
        // The older systems switch this helper on and off.
        const fs::path helper =
            bundle.bundlePath() / "Contents/Library/LoginItems/Zelvana Helper.app";
        fs::create_directories(helper / "Contents");
        platform::PropertyListSerialization::writeXmlFile(
            helper / "Contents/Info.plist",
            platform::PropertyValue(platform::PropertyDictionary{
                {"CFBundleIdentifier", LaunchOnLogin::helperBundleIdentifier},
                {"CFBundleExecutable", "Zelvana Helper"}}));
        addDisplay(1);
        platform::StatusBar::system()->resetForTesting();
        platform::Application::shared().resetForTesting();
        platform::Application::shared().setDelegate(&delegate);
        StatusItem::resetSharedForTesting();
    }
    ~PopoversTest() override {
        StatusItem::resetSharedForTesting();
        LoginItems::setFailureInjectorForTesting({});
        platform::SystemVersion::resetForTesting();
        platform::EventMonitors::resetForTesting();
        platform::Application::shared().resetForTesting();
    }

    // The welcome popover's content, as the first launch shows it.
    WelcomeInfoViewController& welcome() {
        StatusItem::shared().connect({{}, LoginRegistration::withSystem, {}});
        StatusItem::shared().setupStatusItem();
        StatusItem::shared().showWelcomePopover();
        auto* controller = dynamic_cast<WelcomeInfoViewController*>(
            StatusItem::shared().welcomePopover()->viewController().get());
        return *controller;
    }
    static void refuseEverySwitch() {
        LoginItems::setFailureInjectorForTesting(
            [](LoginItems::Operation, const platform::LoginItem&) -> std::optional<std::string> {
                return "denied";
            });
    }
    static void clickIn(platform::Window* window) {
        platform::Application::shared().sendEvent(
            platform::Event::mouseEvent(platform::EventType::leftMouseDown, {1, 1}, window));
    }

    platform::testing::ScopedMainBundle bundle{
        {{"CFBundleName", "Zelvana"}, {"CFBundleIdentifier", "com.quorrim.Zelvana"}}};
    AppDelegate delegate;
};

TEST_F(PopoversTest, TheWelcomePopoverPointsAtTheIconAndClosesOnAClickElsewhere) {
    WelcomeInfoViewController& controller = welcome();
    const auto& popover = StatusItem::shared().welcomePopover()->popover();
    ASSERT_TRUE(popover->isShown());
    const platform::Rect button = StatusItem::shared().nsStatusItem()->window()->frame();
    const platform::Rect frame = popover->window()->frame();
    EXPECT_LE(frame.maxY(), button.minY());  // under the icon
    // The icon is near the right edge: the popover slides left to stay on the screen.
    EXPECT_TRUE(popover->window()->screen()->visibleFrame().contains(frame));
    EXPECT_LT(frame.minX(), button.minX() + button.width() / 2 - frame.width() / 2);
    EXPECT_EQ(platform::testing::textsClippedWithoutEllipsis(*popover->window()->contentView()),
              std::vector<std::string>{});
    ASSERT_NE(controller.launchOnLoginSwitch(), nullptr);
    EXPECT_EQ(controller.launchOnLoginSwitch()->state(), ControlState::off);

    clickIn(popover->window());
    EXPECT_TRUE(popover->isShown());
    platform::Window elsewhere(platform::Rect::make(0, 0, 10, 10));
    clickIn(&elsewhere);
    EXPECT_FALSE(popover->isShown());
}

struct SwitchCase {
    const char* name;
    int macOSVersion;
    bool refused;
};

class WelcomeSwitchTest : public PopoversTest, public ::testing::WithParamInterface<SwitchCase> {};

TEST_P(WelcomeSwitchTest, TheSwitchAndTheSettingShowTheStateTheSystemReallyHas) {
    platform::SystemVersion::setMajorVersion(GetParam().macOSVersion);
    platform::Button& control = *welcome().launchOnLoginSwitch();
    if (GetParam().refused) refuseEverySwitch();

    control.performClick();  // on
    clock.advance(100);      // the older systems' retry
    const bool on = !GetParam().refused;
    EXPECT_EQ(control.state(), on ? ControlState::on : ControlState::off);
    EXPECT_EQ(defaults().boolForKey("launchOnLogin"), on);
    EXPECT_EQ(LaunchOnLogin::isLaunchOnLoginActive(), on);
    EXPECT_EQ(recorder->hasWarningContaining("refused to enable launch at login"), !on);

    LoginItems::setFailureInjectorForTesting({});
    control.setState(ControlState::on);
    control.performClick();  // off, always allowed
    clock.advance(100);
    EXPECT_EQ(control.state(), ControlState::off);
    EXPECT_FALSE(defaults().boolForKey("launchOnLogin"));
    EXPECT_FALSE(LaunchOnLogin::isLaunchOnLoginActive());
}

INSTANTIATE_TEST_SUITE_P(Registrations, WelcomeSwitchTest,
                         ::testing::Values(SwitchCase{"Succeeds13", 13, false},
                                           SwitchCase{"Refused13", 13, true},
                                           SwitchCase{"Succeeds12", 12, false},
                                           SwitchCase{"Refused12", 12, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(PopoversTest, AMissingStoryboardIsLoggedAndShowsNothing) {
    fs::remove(bundle.resourcePath() / "Info.storyboard");
    fs::remove(bundle.resourcePath() / "MessageDisplay.storyboard");
    StatusItem::shared().setupStatusItem();
    StatusItem::shared().showWelcomePopover();
    EXPECT_EQ(StatusItem::shared().welcomePopover(), nullptr);

    MessagePopover message;
    platform::Window window(platform::Rect::make(100, 100, 200, 100));
    auto anchor = std::make_shared<platform::View>(platform::Rect::make(0, 0, 20, 20));
    window.setContentView(anchor);
    message.show("hello", *anchor, platform::RectEdge::maxX);
    EXPECT_EQ(message.messageView(), nullptr);
    EXPECT_FALSE(message.popover()->isShown());
    EXPECT_GE(recorder->warnings().size(), 3u);
}

TEST_F(PopoversTest, AMessageGivenBeforeTheFirstShowingAppearsWithTheView) {
    MessagePopover message;
    ASSERT_NE(message.messageView(), nullptr);
    EXPECT_EQ(message.messageView()->message(), std::nullopt);
    EXPECT_EQ(message.popover()->behavior(), platform::Popover::Behavior::transient);
    platform::Window window(platform::Rect::make(100, 100, 200, 100));
    auto anchor = std::make_shared<platform::View>(platform::Rect::make(0, 0, 20, 20));
    window.setContentView(anchor);

    message.show("first", *anchor, platform::RectEdge::maxX);
    ASSERT_NE(message.messageView()->messageField(), nullptr);
    EXPECT_EQ(message.messageView()->messageField()->stringValue(), "first");
    message.show("second", *anchor, platform::RectEdge::maxX);
    EXPECT_EQ(message.messageView()->messageField()->stringValue(), "second");
}

TEST_F(PopoversTest, TheCheckboxPopoverKeepsItsTextAndCallbackUntilNewOnesCome) {
    auto popover = MessageCheckboxPopover::create();
    EXPECT_EQ(popover->textField()->frame().width(), 250);
    EXPECT_EQ(popover->stackView()->edgeInsets(), (platform::EdgeInsets{15, 15, 15, 15}));
    EXPECT_EQ(static_cast<int>(popover->stackView()->alignment()), 9);
    EXPECT_EQ(static_cast<int>(popover->checkbox()->bezelStyle()), 13);
    EXPECT_EQ(popover->popover()->behavior(), platform::Popover::Behavior::transient);

    platform::Window window(platform::Rect::make(100, 100, 200, 100));
    auto anchor = std::make_shared<platform::View>(platform::Rect::make(0, 0, 20, 20));
    window.setContentView(anchor);
    std::vector<bool> heard;
    popover->show("Swipe with three fingers", "Remember", *anchor, platform::RectEdge::minY, true,
                  [&heard](bool checked) { heard.push_back(checked); });
    popover->show(std::nullopt, std::nullopt, *anchor, platform::RectEdge::minY, false,
                  std::nullopt);
    EXPECT_EQ(popover->textField()->stringValue(), "Swipe with three fingers");
    EXPECT_EQ(popover->checkbox()->title(), "Remember");
    popover->checkbox()->performClick();
    popover->checkbox()->performClick();
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));
}

}  // namespace
}  // namespace zelvana::core::test
