#include "Logging/ConsoleDestination.hpp"

#include <algorithm>

#include "Logging/Diagnostics.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/system/UnifiedLog.hpp"

namespace zelvana::logging {

namespace {

std::string hyphenated(std::string identifier) {
    std::ranges::replace(identifier, '.', '-');
    return identifier + " ";
}

std::string mainBundlePrefix() {
    auto identifier = platform::Bundle::main().bundleIdentifier();
    return identifier ? hyphenated(*identifier) : std::string();
}

platform::LogType logType(Level level) {
    switch (level) {
        case Level::verbose:
        case Level::debug:
            return platform::LogType::Debug;
        case Level::info:
        case Level::warning:
            return platform::LogType::Info;
        case Level::error:
            return platform::LogType::Error;
    }
    return platform::LogType::Default;
}

}  // namespace

const LevelColor& ConsoleDestination::squareColors() {
    static const LevelColor colors{"\U0001F7EA ", "\U0001F7E9 ", "\U0001F7E6 ", "\U0001F7E8 ",
                                   "\U0001F7E5 "};
    return colors;
}

const LevelColor& ConsoleDestination::terminalColors() {
    static const LevelColor colors{"251m", "35m", "38m", "178m", "197m"};
    return colors;
}

ConsoleDestination::ConsoleDestination() : loggableBundleId_(mainBundlePrefix()) {
    setLevelColor(squareColors());
}

void ConsoleDestination::setBundleId(std::string bundleId) {
    bundleId_ = std::move(bundleId);
    loggableBundleId_ = hyphenated(bundleId_);
}

void ConsoleDestination::setUseTerminalColors(bool value) {
    useTerminalColors_ = value;
    setLevelColor(value ? terminalColors() : squareColors());
    setReset(value ? "\x1B[0m" : "");
    setEscape(value ? "\x1B[38;5;" : "");
}

std::optional<std::string> ConsoleDestination::send(const LogEntry& entry) {
    auto text = BaseDestination::send(entry);
    if (!text) return std::nullopt;
    if (useMacConsole_) {
        platform::UnifiedLog::write(logType(entry.level), loggableBundleId_ + *text);
    } else if (useNSLog_) {
        platform::NSLog(*text);
    } else {
        printLine(*text);
    }
    return text;
}

}  // namespace zelvana::logging
