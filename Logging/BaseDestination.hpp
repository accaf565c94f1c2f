#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

#include "Logging/Filter.hpp"
#include "Logging/Level.hpp"
#include "Logging/LineFormat.hpp"
#include "Logging/LogEntry.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/Date.hpp"

namespace zelvana::logging {

// One text per level.
struct LevelTexts {
    std::string verbose, debug, info, warning, error;

    const std::string& operator[](Level level) const;
    bool operator==(const LevelTexts&) const = default;
};
using LevelString = LevelTexts;
using LevelColor = LevelTexts;

// The base of every log destination: holds what shapes a line, renders an
// entry into a line, decides whether an entry is accepted and owns the serial
// queue on which entries reach it. Shared by reference; equal only to itself.
class BaseDestination {
public:
    static constexpr std::string_view defaultFormat = "$DHH:mm:ss.SSS$d $C$L$c $N.$F:$l - $M";

    BaseDestination();
    virtual ~BaseDestination();
    BaseDestination(const BaseDestination&) = delete;
    BaseDestination& operator=(const BaseDestination&) = delete;

    const std::string& format() const { return format_; }
    void setFormat(std::string format) {
        format_ = std::move(format);
        ownFormatSplit_ = false;
    }
    bool asynchronously() const { return asynchronously_; }
    void setAsynchronously(bool value) { asynchronously_ = value; }
    // Read on every logging thread, so it may change while others log.
    virtual Level minLevel() const { return minLevel_.load(std::memory_order_relaxed); }
    // Also tells the facade, which rejects levels no member takes up front.
    virtual void setMinLevel(Level level);
    const LevelString& levelString() const { return levelString_; }
    void setLevelString(LevelString labels) { levelString_ = std::move(labels); }
    const LevelColor& levelColor() const { return levelColor_; }
    void setLevelColor(LevelColor colors) { levelColor_ = std::move(colors); }
    const std::string& reset() const { return reset_; }
    void setReset(std::string reset) { reset_ = std::move(reset); }
    const std::string& escape() const { return escape_; }
    void setEscape(std::string escape) { escape_ = std::move(escape); }
    const std::vector<std::shared_ptr<FilterType>>& filters() const { return filters_; }
    void setFilters(std::vector<std::shared_ptr<FilterType>> filters);
    bool debugPrint() const { return debugPrint_; }
    void setDebugPrint(bool value) { debugPrint_ = value; }
    platform::Date startDate() const { return startDate_; }
    platform::SerialQueue* queue() const { return queue_.get(); }

    // 0 here; each destination class that needs its own overrides it.
    virtual int defaultHashValue() const { return 0; }
    std::size_t hashValue() const;

    // Renders the entry (JSON when the format begins with "$J"); writes it
    // nowhere. Runs on the queue.
    virtual std::optional<std::string> send(const LogEntry& entry);

    enum class Execution { async, sync };
    // Hands `block` to the queue; a sync execution waits for it.
    void execute(Execution execution, platform::Task block);
    // Runs `block` on the queue, waits, and hands back its result; an
    // exception thrown by `block` reaches the caller unchanged.
    template <typename Block>
    std::invoke_result_t<Block&> executeSynchronously(Block&& block);

    // One line from `format`, which is split into phrases once and kept
    // while it stays the same. Dates come from the text of their current
    // second, through the same formatter, zone and pattern as formatDate.
    virtual std::string formatMessage(std::string_view format, const LogEntry& entry);
    virtual const std::string& colorForLevel(Level level) const { return levelColor_[level]; }
    // The current moment in `pattern`; a non-empty zone abbreviation switches
    // the formatter's zone first, and it stays switched.
    virtual std::string formatDate(const std::string& pattern, const std::string& timeZone);
    virtual std::string uptime() const;
    virtual void addFilter(std::shared_ptr<FilterType> filter);
    virtual void removeFilter(const std::shared_ptr<FilterType>& filter);
    virtual bool shouldLevelBeLogged(Level level, std::string_view path, std::string_view function,
                                     std::optional<std::string_view> message) const;
    // Whether a filter looks at the message, which then must be made before
    // the decision.
    bool hasMessageFilter() const { return hasMessageFilter_; }

    std::optional<std::string> jsonMessage(const LogEntry& entry) const;

private:
    bool acceptedByFilters(Level level, std::string_view path, std::string_view function,
                           std::optional<std::string_view> message) const;
    bool acceptedByLevel(Level level) const;
    platform::SerialQueue& requireQueue() const;
    void appendToken(const LineFormat::Phrase& phrase, const LogEntry& entry);
    void appendDate(const LineFormat::Phrase& phrase);
    LineFormat& lineFormatFor(std::string_view format);
    // Switches the formatter's zone, counting the switches.
    void switchZone(const platform::TimeZone& zone);

    std::string format_{defaultFormat};
    bool asynchronously_ = true;
    std::atomic<Level> minLevel_{Level::verbose};
    LevelString levelString_{"VERBOSE", "DEBUG", "INFO", "WARNING", "ERROR"};
    LevelColor levelColor_;
    std::string reset_;
    std::string escape_;
    std::vector<std::shared_ptr<FilterType>> filters_;
    bool hasMessageFilter_ = false;
    std::unique_ptr<platform::DateFormatter> formatter_;
    // The last format rendered, split into phrases; rebuilt when it changes.
    std::unique_ptr<LineFormat> lineFormat_;
    bool ownFormatSplit_ = false;
    // Kept from line to line, so a line costs no buffer of its own.
    LineBuffer line_;
    std::uint64_t zoneVersion_ = 0;
    platform::Date startDate_;
    std::unique_ptr<platform::SerialQueue> queue_;
    bool debugPrint_ = false;
};

template <typename Block>
std::invoke_result_t<Block&> BaseDestination::executeSynchronously(Block&& block) {
    using Result = std::invoke_result_t<Block&>;
    std::exception_ptr failure;
    if constexpr (std::is_void_v<Result>) {
        requireQueue().sync([&] {
            try {
                block();
            } catch (...) {
                failure = std::current_exception();
            }
        });
        if (failure) std::rethrow_exception(failure);
    } else {
        std::optional<Result> result;
        requireQueue().sync([&] {
            try {
                result.emplace(block());
            } catch (...) {
                failure = std::current_exception();
            }
        });
        if (failure) std::rethrow_exception(failure);
        return std::move(*result);
    }
}

}  // namespace zelvana::logging
