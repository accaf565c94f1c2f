#include "Logging/BaseDestination.hpp"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <thread>

#include "Logging/ContextValue.hpp"
#include "Logging/Diagnostics.hpp"
#include "Logging/FilterValidator.hpp"
#include "Logging/LineFormat.hpp"
#include "Logging/Logging.hpp"
#include "Logging/UnicodeText.hpp"
#include "platform/foundation/UUID.hpp"

namespace zelvana::logging {

namespace {

// Characters, not bytes: UTF-8 continuation bytes don't count.
std::int64_t characterCount(std::string_view text) {
    return std::ranges::count_if(text, [](char c) { return (c & 0xC0) != 0x80; });
}

void appendPadded(LineBuffer& line, std::string_view text, std::int64_t width) {
    if (width == 0) [[likely]]
        return line.append(text);
    const std::int64_t missing = std::abs(width) - characterCount(text);
    const auto blanks = static_cast<std::size_t>(std::max<std::int64_t>(missing, 0));
    if (width > 0) line.appendBlanks(blanks);
    line.append(text);
    if (width < 0) line.appendBlanks(blanks);
}

std::string_view fileName(std::string_view path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string_view::npos ? path : path.substr(slash + 1);
}

std::string_view fileNameWithoutExtension(std::string_view path) {
    const std::string_view name = fileName(path);
    return name.substr(0, name.find('.'));
}

std::string uptimeText(double seconds) {
    const auto whole = static_cast<std::int64_t>(seconds);
    const auto wholeMinutes = static_cast<std::int64_t>(seconds / 60);
    const std::int64_t hours = whole / 3600;
    const std::int64_t minutes = wholeMinutes - 60 * hours;
    const std::int64_t secs = whole - 60 * wholeMinutes;
    const auto millis = static_cast<std::int64_t>((seconds - std::trunc(seconds)) * 1000);
    char buffer[96];
    std::snprintf(buffer, sizeof buffer, "%.2lld:%.2lld:%.2lld.%03lld",
                  static_cast<long long>(hours), static_cast<long long>(minutes),
                  static_cast<long long>(secs), static_cast<long long>(millis));
    return buffer;
}

void debugPrintLine(bool enabled, std::string_view text) {
    if (enabled) printLine(text);
}

}  // namespace

const std::string& LevelTexts::operator[](Level level) const {
    switch (level) {
        case Level::verbose:
            return verbose;
        case Level::debug:
            return debug;
        case Level::info:
            return info;
        case Level::warning:
            return warning;
        case Level::error:
            return error;
    }
    return verbose;
}

BaseDestination::BaseDestination()
    : formatter_(std::make_unique<platform::DateFormatter>()),
      startDate_(platform::Date::now()),
      queue_(std::make_unique<platform::SerialQueue>("Logging-queue-" +
                                                     platform::UUID().uuidString())) {}

BaseDestination::~BaseDestination() {
    // The last owner can be a task on our own queue; a queue cannot join its
    // own worker, so another thread finishes it once that task has returned.
    if (queue_ && queue_->isCurrent()) {
        std::thread([queue = queue_.release()] { delete queue; }).detach();
    }
}

std::size_t BaseDestination::hashValue() const {
    return std::hash<int>{}(defaultHashValue());
}

void BaseDestination::setMinLevel(Level level) {
    minLevel_.store(level, std::memory_order_relaxed);
    Logging::acceptanceChanged();
}

void BaseDestination::setFilters(std::vector<std::shared_ptr<FilterType>> filters) {
    filters_ = std::move(filters);
    hasMessageFilter_ = std::ranges::any_of(filters_, [](const auto& filter) {
        return filter && filter->targetKind() == FilterTarget::Kind::Message;
    });
    Logging::acceptanceChanged();
}

void BaseDestination::addFilter(std::shared_ptr<FilterType> filter) {
    auto filters = filters_;
    filters.push_back(std::move(filter));
    setFilters(std::move(filters));
}

void BaseDestination::removeFilter(const std::shared_ptr<FilterType>& filter) {
    auto filters = filters_;
    if (auto found = std::ranges::find(filters, filter); found != filters.end()) {
        filters.erase(found);
        setFilters(std::move(filters));
    }
}

std::optional<std::string> BaseDestination::send(const LogEntry& entry) {
    if (format_.starts_with("$J")) return jsonMessage(entry);
    return formatMessage(format_, entry);
}

platform::SerialQueue& BaseDestination::requireQueue() const {
    if (!queue_) fatalError("Queue not set");
    return *queue_;
}

void BaseDestination::execute(Execution execution, platform::Task block) {
    if (execution == Execution::sync) {
        requireQueue().sync(block);
    } else {
        requireQueue().async(std::move(block));
    }
}

std::string BaseDestination::formatMessage(std::string_view format, const LogEntry& entry) {
    LineFormat& lineFormat = lineFormatFor(format);
    // Room for the whole line at once; dates and numbers fit in the slack.
    line_.start(lineFormat.fixedBytes() + entry.message.size() + entry.file.size() +
                entry.function.size() + entry.thread.size() + 64);
    for (const auto& phrase : lineFormat.phrases()) {
        appendToken(phrase, entry);
        if (!phrase.text.empty()) line_.append(phrase.text);
    }
    return line_.take(UnicodeText::withoutTrailingWhitespace(line_.view()).size());
}

LineFormat& BaseDestination::lineFormatFor(std::string_view format) {
    // Our own format, unchanged since it was split, needs no comparing.
    const bool own = format.data() == format_.data() && format.size() == format_.size();
    if (own && ownFormatSplit_) return *lineFormat_;
    if (!lineFormat_ || lineFormat_->format() != format) {
        lineFormat_ = std::make_unique<LineFormat>(format);
    }
    ownFormatSplit_ = own;
    return *lineFormat_;
}

inline void BaseDestination::appendToken(const LineFormat::Phrase& phrase, const LogEntry& entry) {
    const auto padded = [&](std::string_view text) { appendPadded(line_, text, phrase.width); };
    switch (phrase.token) {
        case 'L':
            return padded(levelString_[entry.level]);
        case 'M':
            return padded(entry.message);
        case 'T':
            return padded(entry.thread);
        case 'N':
            return padded(fileNameWithoutExtension(entry.file));
        case 'n':
            return padded(fileName(entry.file));
        case 'F':
            return padded(entry.function);
        case 'l': {
            char digits[20];
            const auto end = std::to_chars(digits, std::end(digits), entry.line).ptr;
            return padded(std::string_view(digits, static_cast<std::size_t>(end - digits)));
        }
        case 'D':
        case 'Z':
            return appendDate(phrase);
        case 'U':
            return padded(uptime());
        case 'C': {
            // Mostly empty: nothing to copy.
            if (!escape_.empty()) line_.append(escape_);
            const std::string& color = colorForLevel(entry.level);
            if (!color.empty()) line_.append(color);
            return;
        }
        case 'c':
            if (!reset_.empty()) line_.append(reset_);
            return;
        case 'X':
            return padded(entry.context ? UnicodeText::withoutSurroundingWhitespace(
                                              contextDescription(*entry.context))
                                        : "");
        default:
            return;
    }
}

void BaseDestination::appendDate(const LineFormat::Phrase& phrase) {
    if (phrase.zone) switchZone(*phrase.zone);
    if (phrase.width == 0) {
        return phrase.date->append(line_, *formatter_, zoneVersion_, platform::Date::now());
    }
    LineBuffer date(32);
    phrase.date->append(date, *formatter_, zoneVersion_, platform::Date::now());
    appendPadded(line_, date.view(), phrase.width);
}

void BaseDestination::switchZone(const platform::TimeZone& zone) {
    if (zone == formatter_->timeZone()) return;
    formatter_->setTimeZone(zone);
    ++zoneVersion_;
}

std::string BaseDestination::formatDate(const std::string& pattern, const std::string& timeZone) {
    if (!timeZone.empty()) {
        switchZone(platform::TimeZone::fromAbbreviation(timeZone).value_or(
            platform::TimeZone::defaultZone()));
    }
    formatter_->setDateFormat(pattern);
    return formatter_->string(platform::Date::now());
}

std::string BaseDestination::uptime() const {
    return uptimeText(platform::Date::now().timeIntervalSince(startDate_));
}

std::optional<std::string> BaseDestination::jsonMessage(const LogEntry& entry) const {
    try {
        nlohmann::json dict = {
            {"timestamp", platform::Date::now().timeIntervalSince1970()},
            {"level", rawValue(entry.level)},
            {"message", entry.message},
            {"thread", entry.thread},
            {"file", entry.file},
            {"function", entry.function},
            {"line", entry.line},
        };
        if (entry.context) {
            auto context = contextJson(*entry.context);
            if (!context) throw std::invalid_argument("context is not a JSON value");
            dict["context"] = std::move(*context);
        }
        return dict.dump();
    } catch (const std::exception&) {
        printLine("Logging could not create JSON from dict.");
        return std::nullopt;
    }
}

bool BaseDestination::shouldLevelBeLogged(Level level, std::string_view path,
                                          std::string_view function,
                                          std::optional<std::string_view> message) const {
    if (filters_.empty()) return acceptedByLevel(level);
    return acceptedByFilters(level, path, function, message);
}

bool BaseDestination::acceptedByLevel(Level level) const {
    const bool accepted = isAtLeast(level, minLevel());
    if (filters_.empty()) {
        debugPrintLine(debugPrint_, accepted ? "filters are empty and level >= minLevel"
                                             : "filters are empty and level < minLevel");
    }
    return accepted;
}

bool BaseDestination::acceptedByFilters(Level level, std::string_view path,
                                        std::string_view function,
                                        std::optional<std::string_view> message) const {
    using Type = FilterValidator::ValidationType;
    using Kind = FilterValidator::Result::Kind;
    const FilterValidator::Input input{filters_, level, path, function, message};
    auto results =
        FilterValidator::validate(input, {std::begin(FilterValidator::allValidationTypes),
                                          std::end(FilterValidator::allValidationTypes)});
    if (results[Type::excluded].kind == Kind::someFiltersMatch) {
        debugPrintLine(debugPrint_, "filters are not empty and message was excluded");
        return false;
    }
    const auto& required = results[Type::required];
    if (required.kind == Kind::allFiltersMatch) return true;
    if (required.kind == Kind::someFiltersMatch) return false;
    const auto& nonRequired = results[Type::nonRequired];
    if (nonRequired.kind == Kind::allFiltersMatch) return true;
    if (nonRequired.kind == Kind::someFiltersMatch) {
        if (nonRequired.partialMatch.fullMatchCount > 0) return true;
        if (nonRequired.partialMatch.conditionMatchCount > 0) return false;
    }
    return acceptedByLevel(level);
}

}  // namespace zelvana::logging
