#include "gestures/AccessibilityAuth.hpp"

#include <cmath>

#include "platform/appkit/Alert.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/Button.hpp"
#include "platform/appkit/GraphicsContext.hpp"
#include "platform/appkit/Label.hpp"
#include "platform/appkit/Screen.hpp"
#include "platform/appkit/StackView.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/WindowDelegate.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/input/Permissions.hpp"
#include "platform/input/SystemVersion.hpp"

namespace zelvana::gestures {

namespace {

using platform::Label;
using platform::StackView;
using platform::View;

constexpr const char* kOpenSystemPrefsAction = "openSystemPrefs:";

// The application's picture, shown at a fixed size.
// The application's icon, drawn to fill its 80 x 80 points.
class IconView final : public View {
public:
    explicit IconView(platform::Image image)
        : View(platform::Rect::make(0, 0, 80, 80)), image_(std::move(image)) {}
    const platform::Image& image() const { return image_; }
    void drawRect(platform::GraphicsContext& context, platform::Rect /*dirtyRect*/) override {
        context.drawImage(image_, bounds(), platform::Rect{{}, image_.size()},
                          platform::CompositingOperation::sourceOver, 1);
    }

private:
    platform::Image image_;
};

// Answers the settings button on behalf of the prompt.
class PromptViewController final : public platform::ViewController {
public:
    bool performAction(const std::string& action,
                       const platform::ActionSender* /*sender*/) override {
        if (action != kOpenSystemPrefsAction) return false;
        AccessibilityAuth::openSystemPrefs();
        return true;
    }
};

// The close button's target when closing quits.
class QuitOnClose final : public platform::WindowDelegate {
public:
    void windowWillClose() override { AccessibilityAuth::quit(); }
};

std::string localized(const std::string& english) {
    return platform::Bundle::main().localizedString(english, "Main");
}

bool hasSystemSettings() {
    return platform::SystemVersion::isAtLeast(13);
}

std::string accessibilityInstruction() {
    if (!hasSystemSettings())
        return "Go to System Preferences → Security & Privacy → Privacy → Accessibility";
    return localized("Go to System Settings → Privacy & Security → Accessibility");
}

std::string settingsButtonTitle() {
    if (!hasSystemSettings()) return "Open System Preferences";
    return localized("Open System Settings");
}

std::string inputMonitoringInstruction() {
    if (!hasSystemSettings()) {
        return "Go to System Preferences → Security & Privacy → Privacy → Input Monitoring";
    }
    return "Go to System Settings → Privacy & Security → Input Monitoring";
}

// The bundle's name entry, else its folder's name.
std::string applicationName() {
    const auto& bundle = platform::Bundle::main();
    if (auto name = bundle.infoString("CFBundleName")) return *name;
    return bundle.bundlePath().stem().string();
}

platform::Image applicationIcon() {
    return platform::Workspace::shared().iconForFile(platform::Bundle::main().bundlePath());
}

// A label of one line, or one that wraps its words, centred, in `width`.
std::shared_ptr<Label> makeLabel(std::string text, double fontSize, std::optional<double> width) {
    auto label = width ? Label::wrappingLabelWithString(std::move(text), *width)
                       : Label::labelWithString(std::move(text));
    label->setFont(platform::Font::systemFont(fontSize));
    if (width) {
        label->constrainWidth(View::SizeRelation::equal, *width);
        label->setAlignment(platform::TextAlignment::center);
    }
    return label;
}

std::shared_ptr<View> identified(std::shared_ptr<View> view, const char* identifier) {
    view->setIdentifier(identifier);
    return view;
}

struct PromptTexts {
    std::optional<std::string> name;
    std::optional<platform::Image> icon;
    std::string message;
};

std::shared_ptr<Label> secondaryLabel(std::string text, double fontSize, double width) {
    auto label = makeLabel(std::move(text), fontSize, width);
    label->setTextColor(platform::Color::secondaryLabelColor());
    return label;
}

std::shared_ptr<StackView> makeContent(const PromptTexts& texts) {
    auto stack = std::make_shared<StackView>();
    stack->setOrientation(StackView::Orientation::vertical);
    stack->setEdgeInsets({0, 20, 10, 20});
    stack->setSpacing(14);
    const auto add = [&](std::shared_ptr<View> view, const char* identifier) {
        stack->addArrangedSubview(identified(std::move(view), identifier));
    };
    if (texts.icon) add(std::make_shared<IconView>(*texts.icon), "icon");
    if (texts.name) add(makeLabel("Authorize " + *texts.name, 22, {}), "title");
    add(secondaryLabel(texts.message, 13, 250), "message");
    add(secondaryLabel(accessibilityInstruction(), 10, 200), "instruction");
    add(std::make_shared<platform::Button>(settingsButtonTitle(), kOpenSystemPrefsAction),
        "openSettings");
    if (texts.name) add(makeLabel("Enable " + *texts.name, 13, {}), "enable");
    add(std::make_shared<StackView>(platform::Rect::make(0, 0, 0, 5)), "spacer");
    return stack;
}

std::shared_ptr<StackView> makeOuterStack(std::shared_ptr<StackView> content) {
    auto outer = std::make_shared<StackView>();
    outer->setOrientation(StackView::Orientation::vertical);
    outer->setSpacing(20);
    // The content's top lies 30 below the outer top.
    outer->setEdgeInsets({30, 0, 0, 0});
    outer->addArrangedSubview(std::move(content));
    const platform::Size fitting = outer->fittingSize();
    outer->setFrameSize({std::max(fitting.width, 300.0), fitting.height});
    return outer;
}

platform::Window::StyleMask styleMaskFor(CloseBehavior closeBehavior) {
    using Style = platform::Window::Style;
    auto mask = Style::titled | Style::miniaturizable | Style::fullSizeContentView;
    if (closeBehavior != CloseBehavior::notClosable) mask |= Style::closable;
    return mask;
}

std::unique_ptr<platform::WindowController> makeWindowController(
    const PromptTexts& texts, CloseBehavior closeBehavior, platform::WindowDelegate* quitter) {
    auto window = std::make_unique<platform::Window>();
    window->setStyleMask(styleMaskFor(closeBehavior));
    window->setTitleVisibility(platform::Window::TitleVisibility::hidden);
    window->setTitlebarAppearsTransparent(true);
    if (closeBehavior == CloseBehavior::closeWillQuit) window->setDelegate(quitter);
    auto controller = std::make_shared<PromptViewController>();
    controller->setView(makeOuterStack(makeContent(texts)));
    window->setContentViewController(controller);
    window->setContentSize(controller->view()->frame().size);
    return std::make_unique<platform::WindowController>(std::move(window));
}

}  // namespace

struct AccessibilityAuth::Prompt {
    std::unique_ptr<platform::WindowController> controller;
    Completion onGranted;
    QuitOnClose quitOnClose;
};

AccessibilityAuth::AccessibilityAuth() = default;

AccessibilityAuth::~AccessibilityAuth() = default;

bool AccessibilityAuth::requestAccess(const std::optional<std::string>& appName,
                                      const std::optional<platform::Image>& icon,
                                      const std::string& message, CloseBehavior closeBehavior,
                                      Completion onGranted) {
    platform::assertMainThread();
    if (platform::Permissions::isAccessibilityTrusted()) return true;
    if (!prompt_ || !prompt_->controller) {
        prompt_ = std::make_shared<Prompt>();
        const PromptTexts texts{
            appName ? appName : platform::Bundle::main().infoString("CFBundleName"),
            icon ? icon : applicationIcon(), message};
        prompt_->controller = makeWindowController(texts, closeBehavior, &prompt_->quitOnClose);
        poll(prompt_);
    }
    prompt_->onGranted = std::move(onGranted);
    show(*prompt_->controller->window());
    return false;
}

platform::WindowController* AccessibilityAuth::accessibilityWindowController() const {
    return prompt_ ? prompt_->controller.get() : nullptr;
}

void AccessibilityAuth::show(platform::Window& window) {
    platform::Application::shared().activate(true);
    window.windowController()->showWindow(nullptr);
    if (const auto screen = platform::Screen::main()) {
        const platform::Rect area = screen->visibleFrame();
        const platform::Size size = window.frame().size;
        window.setFrameOrigin({area.minX() + (area.width() - size.width) / 2,
                               area.minY() + (area.height() - size.height) / 2});
    }
    window.makeKeyWindow();
}

void AccessibilityAuth::poll(const std::shared_ptr<Prompt>& prompt) {
    // The queued check holds the prompt, so it lives until trust comes.
    platform::mainQueue().asyncAfter(pollInterval, [prompt] {
        if (!platform::Permissions::isAccessibilityTrusted()) {
            poll(prompt);
            return;
        }
        auto controller = std::move(prompt->controller);
        // Closing on grant is not the user's close: it must not quit.
        controller->window()->setDelegate(nullptr);
        controller->close();
        controller.reset();
        if (auto onGranted = std::move(prompt->onGranted)) onGranted();
    });
}

void AccessibilityAuth::openSystemPrefs() {
    platform::assertMainThread();
    platform::Workspace::shared().openURL(accessibilityPaneURL);
}

void AccessibilityAuth::quit() {
    platform::assertMainThread();
    platform::Application::shared().terminate(nullptr);
}

bool AccessibilityAuth::checkInputMonitoring() {
    platform::assertMainThread();
    // Input Monitoring came with 10.15; the version here has no minor part,
    // so 10 counts as 10.15.
    if (!platform::SystemVersion::isAtLeast(10)) return true;
    if (platform::Permissions::inputMonitoringAccess() == platform::Permissions::Access::granted) {
        return true;
    }
    const std::string name = applicationName();
    platform::Alert alert;
    alert.setAlertStyle(platform::Alert::Style::warning);
    alert.addButtonWithTitle("OK");
    alert.setMessageText(name + " needs your permission to receive trackpad input");
    alert.setInformativeText("In order for " + name +
                             " to receive trackpad touch input for trackpad gestures, it needs "
                             "Input Monitoring permissions.\n\n" +
                             inputMonitoringInstruction() + "\n\nOnce you have enabled " + name +
                             ", relaunch the app.\n\n" + name +
                             " does not retain or transmit any user input, regardless of this "
                             "setting.");
    alert.runModal();
    return false;
}

}  // namespace zelvana::gestures
