#pragma once

#include <any>
#include <atomic>
#include <filesystem>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "Logging/BaseDestination.hpp"
#include "Logging/CallSite.hpp"
#include "Logging/DeferredMessage.hpp"
#include "Logging/Level.hpp"

namespace zelvana::logging {

// The one entry through which the programs log: the process-wide set of
// destinations, one entry point per level and the programs' set-ups. Never
// instantiated.
//
// A message is a plain value or a callable that yields one; it is turned into
// text only for a destination that accepts the entry. The call site comes from
// std::source_location (through CallSite's defaulted argument) unless file,
// function and line are given.
class Logging {
public:
    using Level = logging::Level;
    using Destination = std::shared_ptr<BaseDestination>;
    using Context = std::optional<std::any>;

    Logging() = delete;

    // Membership is by identity: false when `destination` is already a member.
    static bool addDestination(Destination destination);
    static bool removeDestination(const Destination& destination);
    static void removeAllDestinations();
    static int countDestinations();
    static std::vector<Destination> destinations();

    template <MessageSource M>
    static void verbose(M&& message, Context context = {}, CallSite site = {}) {
        custom(Level::verbose, message, std::move(context), site);
    }
    template <MessageSource M>
    static void debug(M&& message, Context context = {}, CallSite site = {}) {
        custom(Level::debug, message, std::move(context), site);
    }
    template <MessageSource M>
    static void info(M&& message, Context context = {}, CallSite site = {}) {
        custom(Level::info, message, std::move(context), site);
    }
    template <MessageSource M>
    static void warning(M&& message, Context context = {}, CallSite site = {}) {
        custom(Level::warning, message, std::move(context), site);
    }
    template <MessageSource M>
    static void error(M&& message, Context context = {}, CallSite site = {}) {
        custom(Level::error, message, std::move(context), site);
    }

    template <MessageSource M>
    static void verbose(M&& message, std::string_view file, std::string_view function, int line,
                        const Context& context = {}) {
        custom(Level::verbose, message, file, function, line, context);
    }
    template <MessageSource M>
    static void debug(M&& message, std::string_view file, std::string_view function, int line,
                      const Context& context = {}) {
        custom(Level::debug, message, file, function, line, context);
    }
    template <MessageSource M>
    static void info(M&& message, std::string_view file, std::string_view function, int line,
                     const Context& context = {}) {
        custom(Level::info, message, file, function, line, context);
    }
    template <MessageSource M>
    static void warning(M&& message, std::string_view file, std::string_view function, int line,
                        const Context& context = {}) {
        custom(Level::warning, message, file, function, line, context);
    }
    template <MessageSource M>
    static void error(M&& message, std::string_view file, std::string_view function, int line,
                      const Context& context = {}) {
        custom(Level::error, message, file, function, line, context);
    }

    template <MessageSource M>
    static void custom(Level level, M&& message, std::string_view file, std::string_view function,
                       int line, const Context& context = {}) {
        if (!mayAccept(level)) return;
        dispatchSend(level, DeferredMessage(message), file, function, line,
                     context ? &*context : nullptr);
    }
    template <MessageSource M>
    static void custom(Level level, M&& message, const Context& context = {}, CallSite site = {}) {
        if (!mayAccept(level)) return;
        dispatchSend(level, DeferredMessage(message), site.file, site.function, site.line,
                     context ? &*context : nullptr);
    }

    // Whether any member may take an entry of `level`: one relaxed load, no
    // lock and no allocation, so a call that every member rejects on level
    // ends here. A member with filters counts as taking every level.
    static bool mayAccept(Level level) {
        return rawValue(level) >= acceptanceFloor_.load(std::memory_order_relaxed);
    }
    // Works out again which levels the members may take; called whenever a
    // member's minimum level or filters change. A destination that overrides
    // its acceptance calls it when that widens.
    static void acceptanceChanged();

    // The Application Support folder.
    static std::optional<std::filesystem::path> logFolderURL();
    // Main thread: opens the log window of every window destination.
    static void showLogWindow(const void* sender = nullptr);
    static void setMinLevel(Level level);
    static void removeFileDestinations();
    enum class FileLogging { off, on };
    // The main program's set-up: replaces every destination.
    static void tzDefaults(FileLogging fileLogging, std::optional<Level> minLevel);
    static void setUpFileDestination(Level minLevel);
    // The relaunch helper's set-up: adds to the destinations.
    static void tzHelperDefaults(FileLogging fileLogging, const std::string& mainAppIdentifier,
                                 const std::string& appName);
    // Waits until every destination's queue has run what was handed to it.
    static void flush();

    // "void ns::Type::launch(int) const" -> "launch(int)"; see CallSite.
    static constexpr std::string_view callerSignature(std::string_view prettyFunction) {
        return CallSite::signature(prettyFunction);
    }
    // The signature up to its first "(", then "()".
    static std::string shortenedFunction(std::string_view signature);
    // Empty on the main thread, else the current queue's label or the thread.
    static std::string threadName();

private:
    // The lowest level a member may take; above every level with no members.
    static inline std::atomic<int> acceptanceFloor_{rawValue(Level::error) + 1};

    // Scalars only, so that nothing is built in memory for a rejected call.
    static void dispatchSend(Level level, DeferredMessage message, std::string_view file,
                             std::string_view function, int line, const std::any* context);
};

}  // namespace zelvana::logging
