// Script and terminal lines: a line that parses as a command, written back in
// its plain form, parses as the same command; any other line is refused with
// a reason.
#include <array>
#include <charconv>
#include <optional>
#include <string>
#include <vector>

#include "Zelvana/Driver/CommandParser.hpp"
#include "Zelvana/Driver/KeyNames.hpp"
#include "fuzz/FuzzSupport.hpp"

using namespace zelvana;
using namespace zelvana::driver;
using Kind = Command::Kind;

namespace {

std::string number(double value) {
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ptr);
}

// Every key name a chord may hold, as the command language lists them.
std::vector<std::string> keyNames() {
    std::vector<std::string> names{"space", "return", "tab",      "escape", "delete",
                                   "left",  "right",  "up",       "down",   "home",
                                   "end",   "pageup", "pagedown", "enter"};
    for (char letter = 'a'; letter <= 'z'; ++letter) names.emplace_back(1, letter);
    for (char digit = '0'; digit <= '9'; ++digit) names.emplace_back(1, digit);
    for (int function = 1; function <= 20; ++function)
        names.push_back("f" + std::to_string(function));
    return names;
}

std::string chordText(const Chord& chord) {
    std::vector<std::string> parts;
    for (const auto& modifier : chord.modifiers) {
        for (const char* name : {"cmd", "shift", "opt", "ctrl", "fn", "capslock"}) {
            if (modifierNamed(name) == modifier) parts.emplace_back(name);
        }
    }
    if (chord.key) {
        static const auto names = keyNames();
        for (const auto& name : names) {
            if (keyCodeNamed(name) == chord.key) {
                parts.push_back(name);
                break;
            }
        }
    }
    std::string text;
    for (const auto& part : parts) text += (text.empty() ? "" : "+") + part;
    return text;
}

std::string directionText(Direction direction) {
    static constexpr std::array kNames{"left",    "right",    "up",        "down",
                                       "up-left", "up-right", "down-left", "down-right"};
    return kNames[static_cast<std::size_t>(direction)];
}

std::string pointsText(const std::vector<platform::Point>& points) {
    std::string text;
    for (const auto& point : points) text += " " + number(point.x) + " " + number(point.y);
    return text;
}

// The plain line of a command, as a person would type it.
std::optional<std::string> plainLine(const Command& command) {
    switch (command.kind) {
        case Kind::wait:
            return "wait " + number(command.milliseconds);
        case Kind::quit:
            return "quit";
        case Kind::wake:
            return "wake";
        case Kind::powerOff:
            return "power-off";
        case Kind::activateOther:
            return "activate-other";
        case Kind::lift:
            return "lift";
        case Kind::panel:
            return "panel";
        case Kind::switchSpace:
            return "switch " + std::to_string(command.display) + " " +
                   std::to_string(command.position);
        case Kind::keyDown:
            return "down " + chordText(command.chord);
        case Kind::keyUp:
            return "up " + chordText(command.chord);
        case Kind::keyPress:
            return "press " + chordText(command.chord);
        case Kind::type:
            return "type " + command.text;
        case Kind::swipe:
            return "swipe " + std::to_string(command.fingers) + " " +
                   directionText(command.direction);
        case Kind::rest:
            return "rest " + std::to_string(command.fingers);
        case Kind::steer:
            return "steer " + directionText(command.direction);
        case Kind::permission:
            return std::string("permission ") +
                   (command.permission == Permission::accessibility ? "accessibility"
                                                                    : "input-monitoring") +
                   (command.toggle == Toggle::on ? " on" : " off");
        case Kind::move:
            return "move" + pointsText(command.points);
        case Kind::click:
            return "click" + pointsText(command.points);
        case Kind::drag:
            return "drag" + pointsText(command.points);
        case Kind::mouseDown:
            return "mouse down" + pointsText(command.points);
        case Kind::mouseUp:
            return "mouse up";
        case Kind::controls:
            return "controls";
        case Kind::close:
            return "close";
        case Kind::answer:
            return "answer " + command.text;
        case Kind::menu:
            return command.text.empty() ? "menu" : "menu " + command.text;
        case Kind::set:
            return "set " + command.text + " " + command.value;
        case Kind::record:
            return "record " + command.text + " " + chordText(command.chord);
        case Kind::addDisplay:
            return "display add " + std::to_string(command.display);
        case Kind::removeDisplay:
            return "display remove " + std::to_string(command.display);
        case Kind::snapshot:
            return "snapshot " + command.text +
                   (command.display ? " " + std::to_string(command.display) : "");
    }
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzz::text(data, size);
    const auto line = text.substr(0, text.find('\n'));
    const auto parsed = parseCommandLine(line);
    if (const auto* command = std::get_if<Command>(&parsed)) {
        const auto plain = plainLine(*command);
        fuzz::require(plain.has_value(), "every command has a plain line");
        const auto reparsed = parseCommandLine(*plain);
        const auto* again = std::get_if<Command>(&reparsed);
        fuzz::require(again && *again == *command, "a plain line parses as the same command");
    }
    if (const auto* refusal = std::get_if<std::string>(&parsed)) {
        fuzz::require(!refusal->empty(), "a refusal says why");
    }
    return 0;
}
