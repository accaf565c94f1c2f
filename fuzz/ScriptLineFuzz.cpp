// Script and terminal lines: a line that parses as a command, written back in
// its plain form, parses as the same command; any other line is refused with
// a reason.
#include <charconv>
#include <optional>
#include <string>

#include "Zelvana/Driver/CommandInput.hpp"
#include "fuzz/FuzzSupport.hpp"

using namespace zelvana;
using driver::Command;
using driver::CommandInput;

namespace {

std::string number(double value) {
    char buffer[64];
    const auto written = std::to_chars(buffer, buffer + sizeof buffer, value);
    return std::string(buffer, written.ptr);
}

// The plain line of a command, as a person would type it.
std::optional<std::string> plainLine(const Command& command) {
    switch (command.kind) {
        case Command::Kind::wait:
            return "wait " + number(command.milliseconds);
        case Command::Kind::quit:
            return "quit";
        case Command::Kind::wake:
            return "wake";
        case Command::Kind::powerOff:
            return "power-off";
        case Command::Kind::activateOther:
            return "activate-other";
        case Command::Kind::switchSpace:
            return "switch " + std::to_string(command.display) + " " +
                   std::to_string(command.position);
    }
    return std::nullopt;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text = fuzz::text(data, size);
    const auto line = text.substr(0, text.find('\n'));
    const auto parsed = CommandInput::parseLine(line);
    if (const auto* command = std::get_if<Command>(&parsed)) {
        const auto plain = plainLine(*command);
        fuzz::require(plain.has_value(), "every command has a plain line");
        const auto reparsed = CommandInput::parseLine(*plain);
        const auto* again = std::get_if<Command>(&reparsed);
        fuzz::require(again && *again == *command, "a plain line parses as the same command");
    }
    if (const auto* refusal = std::get_if<std::string>(&parsed)) {
        fuzz::require(!refusal->empty(), "a refusal says why");
    }
    return 0;
}
