#include "gestures/AccessibilityAuth.hpp"

#include <gtest/gtest.h>

#include <fstream>

#include "gestures/Gestures.hpp"
#include "gestures/tests/GestureTestSupport.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/appkit/Label.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/testing/ClippedText.hpp"
#include "platform/testing/ScopedMainBundle.hpp"

namespace zelvana::gestures::test {
namespace {

using platform::Permissions;
using platform::Window;

class AccessibilityAuthTest : public GestureTest {
protected:
    AccessibilityAuthTest() {
        std::ofstream(bundle.resourcePath() / "Main.strings")
            << "\"Go to System Settings → Privacy & Security → Accessibility\" = "
               "\"Öffne Systemeinstellungen → Datenschutz & Sicherheit → Bedienungshilfen\";\n"
               "\"Open System Settings\" = \"Systemeinstellungen öffnen\";\n";
        Permissions::setAccessibilityTrusted(false);
    }
    // A prompt still waiting calls back into this fixture: finish it first.
    ~AccessibilityAuthTest() override { finishPrompts(); }

    bool request(CloseBehavior closeBehavior) {
        return auth.requestAccess(std::nullopt, std::nullopt, "We need it.", closeBehavior,
                                  [this] { ++granted; });
    }
    Window* window() const {
        auto* controller = auth.accessibilityWindowController();
        return controller ? controller->window() : nullptr;
    }
    platform::View* view(const std::string& identifier) const {
        return window()->contentViewController()->view()->findView(identifier);
    }
    std::string text(const std::string& identifier) const {
        auto* label = dynamic_cast<platform::Label*>(view(identifier));
        return label ? label->stringValue() : "<none>";
    }

    platform::testing::ScopedMainBundle bundle{{{"CFBundleName", "Zelvana"}}};
    AccessibilityAuth auth;
    int granted = 0;
};

TEST_F(AccessibilityAuthTest, ATrustedProcessIsToldSoWithoutAWindow) {
    Permissions::setAccessibilityTrusted(true);
    EXPECT_TRUE(request(CloseBehavior::closable));
    EXPECT_FALSE(auth.accessibilityWindowController());
    clock.advance(1000);
    EXPECT_EQ(granted, 0);
}

TEST_F(AccessibilityAuthTest, ThePromptExplainsOpensTheSettingsAndClosesOnceTrustArrives) {
    EXPECT_FALSE(request(CloseBehavior::closable));
    ASSERT_TRUE(window());
    EXPECT_TRUE(window()->isVisible());
    EXPECT_TRUE(window()->isKeyWindow());
    EXPECT_TRUE(platform::Application::shared().isActive());
    const auto style = window()->styleMask();
    EXPECT_TRUE(style.contains(Window::Style::closable));
    EXPECT_TRUE(style.contains(Window::Style::miniaturizable));
    EXPECT_TRUE(style.contains(Window::Style::fullSizeContentView));
    EXPECT_EQ(text("title"), "Authorize Zelvana");
    EXPECT_EQ(text("message"), "We need it.");
    EXPECT_EQ(text("instruction"),
              "Öffne Systemeinstellungen → Datenschutz & Sicherheit → Bedienungshilfen");
    EXPECT_EQ(text("enable"), "Enable Zelvana");
    ASSERT_TRUE(view("icon"));
    EXPECT_EQ(view("icon")->frame().size, (platform::Size{80, 80}));
    auto* button = dynamic_cast<platform::Button*>(view("openSettings"));
    ASSERT_TRUE(button);
    EXPECT_EQ(button->title(), "Systemeinstellungen öffnen");
    EXPECT_TRUE(button->performClick());
    EXPECT_EQ(platform::Workspace::shared().openedURLs(),
              std::vector<std::string>{
                  "x-apple.systempreferences:com.apple.preference.security?Privacy_Accessibility"});

    // Asking again brings the same window forward.
    auto* controller = auth.accessibilityWindowController();
    window()->orderOut(nullptr);
    EXPECT_FALSE(request(CloseBehavior::closable));
    EXPECT_EQ(auth.accessibilityWindowController(), controller);
    EXPECT_TRUE(window()->isVisible());

    clock.advance(450);
    EXPECT_EQ(granted, 0);
    Permissions::setAccessibilityTrusted(true);
    EXPECT_TRUE(controller->window()->isVisible());
    clock.advance(150);
    EXPECT_EQ(granted, 1);
    EXPECT_FALSE(auth.accessibilityWindowController());
    clock.advance(1000);
    EXPECT_EQ(granted, 1);
}

TEST_F(AccessibilityAuthTest, ThePromptShowsEveryWordUnderATransparentTitleBar) {
    std::ofstream(bundle.resourcePath() / "Main.strings") << "";  // the longer English wording
    EXPECT_FALSE(auth.requestAccess(std::nullopt, std::nullopt, Gestures::accessibilityMessage,
                                    CloseBehavior::closable, [] {}));
    ASSERT_TRUE(window());
    EXPECT_EQ(window()->titleVisibility(), Window::TitleVisibility::hidden);
    EXPECT_TRUE(window()->titlebarAppearsTransparent());
    EXPECT_EQ(platform::testing::textsClippedWithoutEllipsis(*window()->contentView()),
              std::vector<std::string>{});
    // The message wraps within its 250 points, on more than one line.
    auto* message = dynamic_cast<platform::Label*>(view("message"));
    ASSERT_TRUE(message);
    EXPECT_EQ(message->frame().width(), 250);
    EXPECT_GT(message->frame().height(), message->font().lineHeight());
}

TEST_F(AccessibilityAuthTest, TheCloseButtonHidesOrQuitsAndThePollingGoesOn) {
    request(CloseBehavior::closable);
    window()->close();
    EXPECT_FALSE(platform::Application::shared().isTerminating());
    Permissions::setAccessibilityTrusted(true);
    clock.advance(300);
    EXPECT_EQ(granted, 1);

    Permissions::setAccessibilityTrusted(false);
    AccessibilityAuth quitting;
    quitting.requestAccess("Tool", std::nullopt, "m", CloseBehavior::closeWillQuit, nullptr);
    Window* window = quitting.accessibilityWindowController()->window();
    EXPECT_EQ(
        dynamic_cast<platform::Label*>(window->contentViewController()->view()->findView("title"))
            ->stringValue(),
        "Authorize Tool");
    window->close();
    EXPECT_TRUE(platform::Application::shared().isTerminating());

    platform::Application::shared().resetForTesting();
    AccessibilityAuth fixed;
    fixed.requestAccess(std::nullopt, std::nullopt, "m", CloseBehavior::notClosable, nullptr);
    EXPECT_FALSE(fixed.accessibilityWindowController()->window()->styleMask().contains(
        Window::Style::closable));
    Permissions::setAccessibilityTrusted(true);
    clock.advance(300);
    EXPECT_FALSE(platform::Application::shared().isTerminating()) << "closing on grant never quits";
}

TEST_F(AccessibilityAuthTest, OlderSystemsSayPreferencesAndAreNotLocalised) {
    platform::SystemVersion::setMajorVersion(12);
    request(CloseBehavior::closable);
    EXPECT_EQ(text("instruction"),
              "Go to System Preferences → Security & Privacy → Privacy → Accessibility");
    EXPECT_EQ(dynamic_cast<platform::Button*>(view("openSettings"))->title(),
              "Open System Preferences");
}

TEST_F(AccessibilityAuthTest, MissingInputMonitoringShowsAnAlertEachTime) {
    EXPECT_TRUE(AccessibilityAuth::checkInputMonitoring());
    EXPECT_TRUE(platform::Alert::ranAlerts().empty());

    Permissions::setInputMonitoringAccess(Permissions::Access::denied);
    EXPECT_FALSE(AccessibilityAuth::checkInputMonitoring());
    Permissions::setInputMonitoringAccess(Permissions::Access::unknown);
    platform::SystemVersion::setMajorVersion(12);
    EXPECT_FALSE(AccessibilityAuth::checkInputMonitoring());
    const auto& ran = platform::Alert::ranAlerts();
    ASSERT_EQ(ran.size(), 2u);
    EXPECT_EQ(ran[0].messageText, "Zelvana needs your permission to receive trackpad input");
    EXPECT_EQ(ran[0].style, platform::Alert::Style::warning);
    EXPECT_EQ(ran[0].buttonTitles, std::vector<std::string>{"OK"});
    EXPECT_EQ(ran[0].informativeText,
              "In order for Zelvana to receive trackpad touch input for trackpad gestures, it "
              "needs Input Monitoring permissions.\n\nGo to System Settings → Privacy & Security "
              "→ Input Monitoring\n\nOnce you have enabled Zelvana, relaunch the app.\n\nZelvana "
              "does not retain or transmit any user input, regardless of this setting.");
    EXPECT_NE(ran[1].informativeText.find(
                  "Go to System Preferences → Security & Privacy → Privacy → Input Monitoring"),
              std::string::npos);
}

}  // namespace
}  // namespace zelvana::gestures::test
