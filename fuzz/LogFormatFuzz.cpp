// Log line format strings, which a person may set to anything: every format
// renders, text without tokens comes out as written, "$M" carries the message
// whole, and the JSON line reads back with the entry's own fields.
#include <cctype>

#include "Logging/BaseDestination.hpp"
#include "fuzz/FuzzSupport.hpp"
#include "platform/foundation/JSONText.hpp"

using namespace zelvana;

namespace {

bool endsInSpace(const std::string& text) {
    return !text.empty() && (std::isspace(static_cast<unsigned char>(text.back())) ||
                             static_cast<unsigned char>(text.back()) >= 0x80);
}

void checkJsonLine(logging::BaseDestination& destination, const logging::LogEntry& entry) {
    const auto line = destination.jsonMessage(entry);
    if (!line) return;  // a message that is not UTF-8 has no JSON line
    const auto json = platform::JSONText::parse(*line);
    fuzz::require(json && json->is_object(), "a JSON line is a JSON object");
    fuzz::require(json->value("message", std::string()) == entry.message,
                  "a JSON line carries the message");
    fuzz::require(json->value("line", -1) == entry.line, "a JSON line carries the line number");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string input = fuzz::text(data, size);
    const auto split = input.find('\0');
    const std::string format = input.substr(0, split);
    logging::LogEntry entry;
    entry.message = split == std::string::npos ? "message" : input.substr(split + 1);
    entry.file = "/src/App.swift";
    entry.function = "run()";
    entry.line = 42;

    logging::BaseDestination destination;
    const std::string line = destination.formatMessage(format, entry);
    if (format.find('$') == std::string::npos && !endsInSpace(format)) {
        fuzz::require(line == format, "a format without tokens renders as written");
    }
    if (!endsInSpace(entry.message)) {
        fuzz::require(destination.formatMessage("$M", entry) == entry.message,
                      "\"$M\" renders the message whole");
    }
    checkJsonLine(destination, entry);
    return 0;
}
