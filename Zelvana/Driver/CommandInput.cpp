#include "Zelvana/Driver/CommandInput.hpp"

#include <algorithm>
#include <atomic>
#include <iostream>
#include <thread>

#include "Logging/Logging.hpp"
#include "Zelvana/Driver/DesktopReport.hpp"
#include "Zelvana/Driver/Snapshot.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/simulator/Desktop.hpp"
#include "platform/simulator/PermissionSwitches.hpp"
#include "platform/system/Permissions.hpp"

namespace zelvana::driver {

namespace {

using logging::Logging;
using Kind = Command::Kind;

std::string noDisplay(std::uint32_t number) {
    return "there is no display " + std::to_string(number);
}

}  // namespace

struct CommandInput::Shared {
    std::atomic<bool> alive{true};
};

CommandInput::CommandInput(Quit quit, Print print, Print printError,
                           SettingsUser::SettingsWindow settingsWindow)
    : quit_(std::move(quit)),
      print_(std::move(print)),
      printError_(std::move(printError)),
      settings_(window_, keyboard_, std::move(settingsWindow)),
      watcher_(print_),
      shared_(std::make_shared<Shared>()) {}

CommandInput::~CommandInput() {
    shared_->alive = false;
    if (pending_) pending_->cancel();
    if (rest_) rest_->cancel();
}

void CommandInput::loadScriptText(std::string_view text) {
    hasScript_ = true;
    script_.clear();
    std::size_t number = 0;
    while (!text.empty()) {
        const auto end = text.find('\n');
        const auto line = text.substr(0, end);
        text = end == std::string_view::npos ? std::string_view{} : text.substr(end + 1);
        ++number;
        const auto parsed = parseLine(line);
        if (const auto* command = std::get_if<Command>(&parsed)) {
            script_.push_back({number, *command});
        }
        if (const auto* refusal = std::get_if<std::string>(&parsed)) {
            refuse("script line " + std::to_string(number) + ": " + *refusal);
        }
    }
}

void CommandInput::start(Terminal terminal) {
    const bool readTerminal = terminal == Terminal::read;
    watchScreen();
    if (hasScript_) runFrom(0);
    if (readTerminal) startTerminalReader();
    if (!hasScript_ && !readTerminal) {
        after(settleDelay, [weak = weak_.ref()] {
            if (auto* self = weak.get()) self->quit();
        });
    }
}

void CommandInput::runFrom(std::size_t index) {
    const auto goOnAfter = [this](double seconds, std::size_t from) {
        after(seconds, [weak = weak_.ref(), from] {
            if (auto* self = weak.get()) self->runFrom(from);
        });
    };
    while (!quitting_ && index < script_.size()) {
        const auto& [number, command] = script_[index++];
        if (command.kind == Kind::quit) break;
        // A command that brings up a modal alert waits in it for the person's
        // answer: the rest of the script then goes on from inside that wait.
        auto wentOn = std::make_shared<bool>(false);
        rest_ = platform::mainQueue().asyncAfter(0, [weak = weak_.ref(), index, wentOn] {
            *wentOn = true;
            if (auto* self = weak.get()) self->runFrom(index);
        });
        const auto outcome = perform(command);
        watcher_.check();
        if (outcome.refusal) {
            refuse("script line " + std::to_string(number) + ": " + *outcome.refusal);
        }
        if (*wentOn) return;
        rest_->cancel();
        if (outcome.seconds > 0) return goOnAfter(outcome.seconds, index);
        // Inside such a wait the next command takes the next pass, so that an
        // answer ends the wait before the script goes on.
        if (platform::Application::shared().modalSessionCount() > 0) return goOnAfter(0, index);
    }
    quit();
}

CommandInput::Outcome CommandInput::perform(const Command& command) {
    auto& workspace = platform::Workspace::shared();
    switch (command.kind) {
        case Kind::wait:
            return {std::nullopt, command.milliseconds / 1000.0};
        case Kind::quit:
            quit();
            return {};
        case Kind::wake:
            workspace.postDidWakeNotification();
            return {};
        case Kind::powerOff:
            workspace.postWillPowerOffNotification();
            return {};
        case Kind::switchSpace:
            return {switchSpace(command)};
        case Kind::activateOther:
            platform::Desktop::shared().activateOtherApplication();
            return {};
        case Kind::addDisplay:
            return {addDisplay(command.display)};
        case Kind::removeDisplay:
            return {removeDisplay(command.display)};
        default:
            return performInput(command);
    }
}

CommandInput::Outcome CommandInput::performInput(const Command& command) {
    const auto& points = command.points;
    switch (command.kind) {
        case Kind::keyDown:
            return {keyboard_.down(command.chord)};
        case Kind::keyUp:
            return {keyboard_.up(command.chord)};
        case Kind::keyPress:
            return {keyboard_.press(command.chord)};
        case Kind::type:
            return {keyboard_.type(command.text)};
        case Kind::swipe:
            return {trackpad_.swipe(command.fingers, command.direction),
                    TrackpadUser::gestureDuration};
        case Kind::rest:
            return {trackpad_.rest(command.fingers), TrackpadUser::gestureDuration};
        case Kind::steer:
            return {trackpad_.steer(command.direction)};
        case Kind::lift:
            return {trackpad_.lift()};
        case Kind::permission:
            return {setPermission(command)};
        case Kind::move:
            return {mouse_.move(points.at(0))};
        case Kind::click:
            return {mouse_.click(points.at(0))};
        case Kind::drag:
            return {mouse_.drag(points.at(0), points.at(1))};
        case Kind::mouseDown:
            return {mouse_.buttonDown(points.at(0))};
        case Kind::mouseUp:
            return {mouse_.buttonUp()};
        default:
            return performOnScreen(command);
    }
}

CommandInput::Outcome CommandInput::performOnScreen(const Command& command) {
    switch (command.kind) {
        case Kind::menu:
            return {command.text.empty() ? menu_.open() : menu_.pick(command.text)};
        case Kind::set: {
            // The settings window's pop-ups open and close unprinted.
            watcher_.setPrintsMenus(false);
            auto refusal = settings_.set(command.text, command.value);
            watcher_.setPrintsMenus(true);
            return {std::move(refusal)};
        }
        case Kind::record:
            return {settings_.record(command.text, command.chord)};
        case Kind::panel:
            return {printPanel()};
        case Kind::controls:
            return {window_.printControls(print_)};
        case Kind::answer:
            return {window_.answer(command.text)};
        case Kind::close:
            return {window_.close()};
        case Kind::snapshot:
            if (auto refusal = Snapshot::write(command.text, command.display)) return {refusal};
            print_("snapshot: " + command.text);
            return {};
        default:
            return {};
    }
}

Refusal CommandInput::printPanel() {
    auto* panel = openPanel();
    if (!panel) return "the panel is not open";
    for (const auto& line : describePanel(*panel)) print_(line);
    return std::nullopt;
}

Refusal CommandInput::switchSpace(const Command& command) {
    auto& desktop = platform::Desktop::shared();
    const auto display = desktop.display(command.display);
    if (!display) return noDisplay(command.display);
    if (command.position > display->spaces.size()) {
        return "display " + std::to_string(command.display) + " has no space " +
               std::to_string(command.position);
    }
    desktop.switchToSpace(display->spaces[command.position - 1]);
    return std::nullopt;
}

// A 1920 by 1080 display plugged in to the right of the others.
Refusal CommandInput::addDisplay(std::uint32_t number) {
    auto& desktop = platform::Desktop::shared();
    if (desktop.display(number))
        return "display " + std::to_string(number) + " is attached already";
    double right = 0;
    for (const auto& display : desktop.displays()) right = std::max(right, display.frame.maxX());
    const auto frame = platform::Rect::make(right, 0, 1920, 1080);
    if (!desktop.addDisplay(platform::Display::make(
            number, frame, "Display " + std::to_string(number), 7000, number, number))) {
        return "display " + std::to_string(number) + " cannot be attached";
    }
    return std::nullopt;
}

// The last display stays: a machine always has one.
Refusal CommandInput::removeDisplay(std::uint32_t number) {
    auto& desktop = platform::Desktop::shared();
    if (!desktop.display(number)) return noDisplay(number);
    if (desktop.displays().size() == 1) return "the last display stays";
    desktop.removeDisplay(number);
    return std::nullopt;
}

Refusal CommandInput::setPermission(const Command& command) {
    using platform::Permissions;
    using platform::PermissionSwitches;
    const bool on = command.toggle == Toggle::on;
    if (command.permission == Permission::accessibility) {
        PermissionSwitches::setAccessibilityTrusted(on);
    } else {
        PermissionSwitches::setInputMonitoringAccess(on ? Permissions::Access::granted
                                                        : Permissions::Access::denied);
    }
    return std::nullopt;
}

void CommandInput::after(double seconds, platform::Task task) {
    pending_ = platform::mainQueue().asyncAfter(seconds, std::move(task));
}

void CommandInput::handleTerminalLine(std::string_view line) {
    ++terminalLine_;
    const auto parsed = parseLine(line);
    const auto where = "terminal line " + std::to_string(terminalLine_) + ": ";
    if (const auto* refusal = std::get_if<std::string>(&parsed)) return refuse(where + *refusal);
    const auto* command = std::get_if<Command>(&parsed);
    if (!command) return;
    if (command->kind == Kind::wait) return refuse(where + "\"wait\" only works in a script");
    const auto outcome = perform(*command);
    watcher_.check();
    if (outcome.refusal) refuse(where + *outcome.refusal);
}

void CommandInput::handleEndOfInput() {
    quit();
}

void CommandInput::stop() {
    quitting_ = true;
    shared_->alive = false;
    if (pending_) pending_->cancel();
    watcher_.stop();
}

void CommandInput::quit() {
    if (quitting_) return;
    quitting_ = true;
    if (pending_) pending_->cancel();
    if (rest_) rest_->cancel();
    quit_();
}

void CommandInput::refuse(const std::string& message) {
    refusedAny_ = true;
    printError_(message);
    Logging::warning(message);
}

void CommandInput::startTerminalReader() {
    // Detached: a read blocked on the terminal must not hold up the exit.
    std::thread([weak = weak_.ref(), shared = shared_] {
        std::string line;
        while (shared->alive && std::getline(std::cin, line)) {
            platform::mainQueue().async([weak, line] {
                if (auto* self = weak.get()) self->handleTerminalLine(line);
            });
        }
        platform::mainQueue().async([weak] {
            if (auto* self = weak.get()) self->handleEndOfInput();
        });
    }).detach();
}

}  // namespace zelvana::driver
