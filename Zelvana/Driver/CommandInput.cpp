#include "Zelvana/Driver/CommandInput.hpp"

#include <atomic>
#include <cctype>
#include <charconv>
#include <cmath>
#include <fstream>
#include <iostream>
#include <limits>
#include <sstream>
#include <thread>

#include "Logging/Logging.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/desktop/Desktop.hpp"

namespace zelvana::driver {

namespace {

using logging::Logging;

std::string_view trimmed(std::string_view text) {
    const auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    while (!text.empty() && isSpace(text.front())) text.remove_prefix(1);
    while (!text.empty() && isSpace(text.back())) text.remove_suffix(1);
    return text;
}

std::optional<double> milliseconds(std::string_view text) {
    double value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size()) return std::nullopt;
    if (!std::isfinite(value) || value < 0) return std::nullopt;
    return value;
}

}  // namespace

struct CommandInput::Shared {
    std::atomic<bool> alive{true};
};

CommandInput::CommandInput(Quit quit, Print print)
    : quit_(std::move(quit)), print_(std::move(print)), shared_(std::make_shared<Shared>()) {}

CommandInput::~CommandInput() {
    shared_->alive = false;
    if (pending_) pending_->cancel();
}

namespace {

// "switch <display> <space>": both whole numbers, the position from 1.
CommandInput::Line parseSwitch(std::string_view line, std::string_view arguments) {
    std::istringstream words{std::string(arguments)};
    long long display = 0;
    long long position = 0;
    std::string rest;
    if (!(words >> display >> position) || (words >> rest) || display <= 0 ||
        display > std::numeric_limits<std::uint32_t>::max() || position <= 0) {
        return "\"" + std::string(line) +
               "\" needs a display number and a space position from 1, as in \"switch 1 2\"";
    }
    Command command{Command::Kind::switchSpace, 0};
    command.display = static_cast<std::uint32_t>(display);
    command.position = static_cast<std::size_t>(position);
    return command;
}

}  // namespace

CommandInput::Line CommandInput::parseLine(std::string_view line) {
    line = trimmed(line);
    if (line.empty() || line.front() == '#') return std::monostate{};
    if (line == "quit") return Command{Command::Kind::quit, 0};
    if (line == "wake") return Command{Command::Kind::wake, 0};
    if (line == "power-off") return Command{Command::Kind::powerOff, 0};
    if (line == "activate-other") return Command{Command::Kind::activateOther, 0};
    const auto word = line.substr(0, line.find_first_of(" \t"));
    if (word == "switch") return parseSwitch(line, trimmed(line.substr(word.size())));
    if (word == "wait") {
        if (auto delay = milliseconds(trimmed(line.substr(word.size())))) {
            return Command{Command::Kind::wait, *delay};
        }
        return "\"" + std::string(line) + "\" needs a number of milliseconds, 0 or more";
    }
    return "unknown command \"" + std::string(line) + "\"";
}

std::optional<std::filesystem::path> CommandInput::optionArgument(
    const std::vector<std::string>& arguments, const std::string& option, std::string* error) {
    for (std::size_t index = 1; index < arguments.size(); ++index) {
        if (arguments[index] != option) continue;
        if (index + 1 < arguments.size()) return arguments[index + 1];
        if (error) *error = option + " needs a file";
        return std::nullopt;
    }
    return std::nullopt;
}

bool CommandInput::loadScript(const std::filesystem::path& path) {
    std::ifstream file(path);
    if (!file) {
        refuse("cannot read the script " + path.string());
        return false;
    }
    std::ostringstream text;
    text << file.rdbuf();
    loadScriptText(text.str());
    return true;
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
        if (const auto* command = std::get_if<Command>(&parsed)) script_.push_back(*command);
        if (const auto* refusal = std::get_if<std::string>(&parsed)) {
            refuse("script line " + std::to_string(number) + ": " + *refusal + "; skipped");
        }
    }
}

void CommandInput::start(bool readTerminal) {
    if (hasScript_) runFrom(0);
    if (readTerminal) startTerminalReader();
    if (!hasScript_ && !readTerminal) after(settleDelay, [this] { quit(); });
}

void CommandInput::runFrom(std::size_t index) {
    if (quitting_) return;
    if (index >= script_.size()) return quit();
    const auto& command = script_[index];
    if (command.kind == Command::Kind::quit) return quit();
    if (command.kind != Command::Kind::wait) {
        perform(command);
        return runFrom(index + 1);
    }
    after(command.milliseconds / 1000.0, [this, index] { runFrom(index + 1); });
}

void CommandInput::perform(const Command& command) {
    auto& workspace = platform::Workspace::shared();
    if (command.kind == Command::Kind::wake) workspace.postDidWakeNotification();
    if (command.kind == Command::Kind::powerOff) workspace.postWillPowerOffNotification();
    if (command.kind == Command::Kind::switchSpace) switchSpace(command);
    if (command.kind == Command::Kind::activateOther) {
        platform::Desktop::shared().activateOtherApplication();
    }
}

void CommandInput::switchSpace(const Command& command) {
    auto& desktop = platform::Desktop::shared();
    const auto display = desktop.display(command.display);
    if (!display || command.position > display->spaces.size()) {
        refuse("switch: display " + std::to_string(command.display) + " has no space " +
               std::to_string(command.position));
        return;
    }
    desktop.switchToSpace(display->spaces[command.position - 1]);
}

void CommandInput::after(double seconds, platform::Task task) {
    pending_ = platform::mainQueue().asyncAfter(seconds, std::move(task));
}

void CommandInput::handleTerminalLine(std::string_view line) {
    const auto parsed = parseLine(line);
    if (const auto* refusal = std::get_if<std::string>(&parsed)) return refuse(*refusal);
    const auto* command = std::get_if<Command>(&parsed);
    if (!command) return;
    if (command->kind == Command::Kind::quit) return quit();
    if (command->kind == Command::Kind::wait) return refuse("wait only works in a script");
    perform(*command);
}

void CommandInput::handleEndOfInput() {
    quit();
}

void CommandInput::quit() {
    if (quitting_) return;
    quitting_ = true;
    if (pending_) pending_->cancel();
    print_("quit");
    quit_();
}

void CommandInput::refuse(const std::string& message) {
    print_(message);
    Logging::warning(message);
}

void CommandInput::startTerminalReader() {
    // Detached: a read blocked on the terminal must not hold up the exit.
    std::thread([this, shared = shared_] {
        std::string line;
        while (shared->alive && std::getline(std::cin, line)) {
            platform::mainQueue().async([this, shared, line] {
                if (shared->alive) handleTerminalLine(line);
            });
        }
        platform::mainQueue().async([this, shared] {
            if (shared->alive) handleEndOfInput();
        });
    }).detach();
}

}  // namespace zelvana::driver
