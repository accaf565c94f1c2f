#include "Logging/LogWindowController.hpp"

#include <string>

#include "Logging/Diagnostics.hpp"
#include "Logging/KeyDownTextView.hpp"
#include "Logging/LogViewController.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/StoryboardActions.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::logging {

namespace {

LogViewController* logViewController(const platform::WindowController& controller) {
    return dynamic_cast<LogViewController*>(controller.contentViewController());
}

}  // namespace

LogWindowController::LogWindowController(std::unique_ptr<platform::Window> window)
    : WindowController(std::move(window)) {
    if (this->window()) this->window()->setDelegate(this);
}

void LogWindowController::registerStoryboardClasses() {
    using platform::Storyboard;
    Storyboard::registerClass("LogWindowController",
                              [] { return std::make_unique<LogWindowController>(); });
    Storyboard::registerClass("LogViewController",
                              [] { return std::make_unique<LogViewController>(); });
    Storyboard::registerClass("KeyDownTextView",
                              [] { return std::make_unique<KeyDownTextView>(); });
}

std::shared_ptr<LogWindowController> LogWindowController::makeFromStoryboard() {
    std::string error;
    auto storyboard = platform::Storyboard::load(
        "LogWindow", platform::Bundle::packageResourceBundle("Logging"), &error);
    if (!storyboard) fatalError("Unable to load the LogWindow storyboard: " + error);
    return makeFrom(*storyboard);
}

std::shared_ptr<LogWindowController> LogWindowController::makeFrom(
    const platform::Storyboard& storyboard) {
    registerStoryboardClasses();
    auto controller = std::dynamic_pointer_cast<LogWindowController>(
        storyboard.instantiateController("LogWindowController"));
    if (!controller) fatalError("Unable to find WindowController");
    if (controller->window()) controller->window()->setDelegate(controller.get());
    return controller;
}

void LogWindowController::appendLine(const std::string& line) {
    // A controller released before the main queue gets to the line drops it.
    platform::mainQueue().async([weak = weak_.ref(), text = line + "\n"] {
        LogWindowController* self = weak.get();
        if (!self) return;
        if (LogViewController* content = logViewController(*self)) content->appendText(text);
    });
}

void LogWindowController::showWindow(const platform::ActionSender* sender) {
    WindowController::showWindow(sender);
    isOpen_ = true;
}

void LogWindowController::windowWillClose() {
    clearLog();
    isOpen_ = false;
}

void LogWindowController::clearClicked(const platform::ActionSender* /*sender*/) {
    clearLog();
}

void LogWindowController::clearLog() {
    LogViewController* content = logViewController(*this);
    if (content && content->textView()) content->textView()->setString("");
}

void LogWindowController::connectActions(platform::StoryboardActions& actions) {
    actions.add<platform::Button>("clearClicked:", [self = weak_.ref()](platform::Button& sender) {
        if (LogWindowController* controller = self.get()) controller->clearClicked(&sender);
    });
}

}  // namespace zelvana::logging
