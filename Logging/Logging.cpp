#include "Logging/Logging.hpp"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <sstream>
#include <thread>
#include <unordered_set>

#include "Logging/ConsoleDestination.hpp"
#include "Logging/FileDestination.hpp"
#include "Logging/LogWindowController.hpp"
#include "Logging/WindowDestination.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/SystemFolders.hpp"

namespace zelvana::logging {

namespace fs = std::filesystem;

namespace {

struct DestinationHash {
    std::size_t operator()(const Logging::Destination& d) const { return d->hashValue(); }
};
using Members = std::unordered_set<Logging::Destination, DestinationHash>;

// Copy on write: logging threads read a snapshot without a lock while a
// set-up replaces it.
class DestinationSet {
public:
    std::shared_ptr<const Members> snapshot() const { return members_.load(); }

    template <typename Change>
    auto update(Change change) {
        std::lock_guard lock(writeMutex_);
        const auto previous = members_.load();
        auto next = std::make_shared<Members>(*previous);
        auto result = change(*next);
        for (const auto& member : *previous) {
            if (!next->contains(member)) retired_.push_back(member);
        }
        members_.store(std::move(next));
        return result;
    }

    // Members taken out whose queues may still hold work; forgets those gone.
    std::vector<Logging::Destination> retired() {
        std::lock_guard lock(writeMutex_);
        std::erase_if(retired_, [](const auto& member) { return member.expired(); });
        std::vector<Logging::Destination> alive;
        for (const auto& member : retired_) {
            if (auto destination = member.lock()) alive.push_back(std::move(destination));
        }
        return alive;
    }

    // Runs `read` on the members under the write lock, so that what it
    // publishes from them is never overtaken by an older reading.
    template <typename Read>
    void readLocked(Read read) {
        std::lock_guard lock(writeMutex_);
        read(*members_.load());
    }

private:
    std::mutex writeMutex_;
    std::atomic<std::shared_ptr<const Members>> members_{std::make_shared<const Members>()};
    std::vector<std::weak_ptr<BaseDestination>> retired_;
};

DestinationSet& destinationSet() {
    static DestinationSet set;
    return set;
}

// The thread name is made at most once per entry, and only when a
// destination takes the entry.
class LazyThreadName {
public:
    const std::string& get() {
        if (!name_) name_ = Logging::threadName();
        return *name_;
    }

private:
    std::optional<std::string> name_;
};

// Queued work holds the destination, so it outlives its removal until then.
void deliver(const Logging::Destination& destination, LogEntry entry) {
    auto* queue = destination->queue();
    if (destination->asynchronously()) {
        queue->async([destination, entry = std::move(entry)] { destination->send(entry); });
    } else {
        queue->sync([&] { destination->send(entry); });
    }
}

std::optional<std::string> mainBundleText(const std::string& key) {
    return platform::Bundle::main().infoString(key);
}

fs::path freshLogFile(const fs::path& folder, const std::string& directory,
                      const std::string& fileName) {
    const fs::path file = folder / directory / fileName;
    platform::FileManager::defaultManager().removeItem(file);
    return file;
}

}  // namespace

bool Logging::addDestination(Destination destination) {
    if (!destination) return false;
    const bool added = destinationSet().update(
        [&](Members& members) { return members.insert(std::move(destination)).second; });
    acceptanceChanged();
    return added;
}

bool Logging::removeDestination(const Destination& destination) {
    const bool removed =
        destinationSet().update([&](Members& members) { return members.erase(destination) > 0; });
    acceptanceChanged();
    return removed;
}

void Logging::removeAllDestinations() {
    destinationSet().update([](Members& members) {
        members.clear();
        return true;
    });
    acceptanceChanged();
}

void Logging::acceptanceChanged() {
    destinationSet().readLocked([](const Members& members) {
        int floor = rawValue(Level::error) + 1;
        for (const auto& member : members) {
            if (!member->queue()) continue;
            floor = std::min(floor, member->filters().empty() ? rawValue(member->minLevel()) : 0);
        }
        acceptanceFloor_.store(floor, std::memory_order_relaxed);
    });
}

int Logging::countDestinations() {
    return static_cast<int>(destinationSet().snapshot()->size());
}

std::vector<Logging::Destination> Logging::destinations() {
    const auto members = destinationSet().snapshot();
    return {members->begin(), members->end()};
}

void Logging::dispatchSend(Level level, DeferredMessage message, std::string_view file,
                           std::string_view function, int line, const std::any* context) {
    const auto members = destinationSet().snapshot();
    std::optional<std::string> kept;
    LazyThreadName thread;
    for (const auto& destination : *members) {
        if (!destination->queue()) continue;
        if (!kept && destination->hasMessageFilter()) kept = message.render();
        const auto filterText = kept ? std::optional<std::string_view>(*kept) : std::nullopt;
        if (!destination->shouldLevelBeLogged(level, file, function, filterText)) {
            continue;
        }
        LogEntry entry{level,
                       kept ? *kept : message.render(),
                       thread.get(),
                       std::string(file),
                       shortenedFunction(function),
                       line,
                       context ? Context(*context) : std::nullopt};
        deliver(destination, std::move(entry));
    }
}

std::string Logging::shortenedFunction(std::string_view signature) {
    return std::string(signature.substr(0, signature.find('('))) + "()";
}

std::string Logging::threadName() {
    if (platform::isMainThread()) return {};
    if (auto label = platform::DispatchQueue::currentLabel()) return *label;
    std::ostringstream description;
    description << "<Thread: " << std::this_thread::get_id() << ">";
    return description.str();
}

std::optional<fs::path> Logging::logFolderURL() {
    return platform::SystemFolders::applicationSupport();
}

void Logging::showLogWindow(const platform::ActionSender* sender) {
    for (const auto& destination : destinations()) {
        auto window = std::dynamic_pointer_cast<WindowDestination>(destination);
        if (!window) continue;
        auto controller = window->logWindowController();
        if (!controller) {
            controller = LogWindowController::makeFromStoryboard();
            window->setLogWindowController(controller);
        }
        platform::Application::shared().activate(true);
        controller->showWindow(sender);
    }
}

void Logging::setMinLevel(Level level) {
    for (const auto& destination : destinations()) destination->setMinLevel(level);
}

void Logging::removeFileDestinations() {
    for (const auto& destination : destinations()) {
        if (std::dynamic_pointer_cast<FileDestination>(destination)) {
            removeDestination(destination);
        }
    }
}

void Logging::tzDefaults(FileLogging fileLogging, std::optional<Level> minLevel) {
    removeAllDestinations();
    if (fileLogging == FileLogging::on) setUpFileDestination(minLevel.value_or(Level::debug));
    auto window = std::make_shared<WindowDestination>();
    if (minLevel) window->setMinLevel(*minLevel);
    addDestination(window);
    // The display name, not the version: the line has always read this way.
    if (auto displayName = mainBundleText("CFBundleDisplayName")) {
        const auto here = std::source_location::current();
        info("build " + *displayName, here.file_name(), "tzDefaults(logToFile:minLevel:)",
             static_cast<int>(here.line()));
    }
}

void Logging::setUpFileDestination(Level minLevel) {
    auto name = mainBundleText("CFBundleDisplayName");
    if (!name) name = mainBundleText("CFBundleName");
    if (!name) return;
    const auto folder = logFolderURL();
    if (!folder) return;
    auto file = std::make_shared<FileDestination>(freshLogFile(*folder, *name, *name + ".log"));
    file->setMinLevel(minLevel);
    addDestination(file);
}

void Logging::tzHelperDefaults(FileLogging fileLogging, const std::string& mainAppIdentifier,
                               const std::string& appName) {
    auto console = std::make_shared<ConsoleDestination>();
    console->setUseMacConsole(true);
    console->setBundleId(mainAppIdentifier);
    addDestination(console);
    const auto folder = logFolderURL();
    if (fileLogging == FileLogging::on && folder) {
        addDestination(std::make_shared<FileDestination>(
            freshLogFile(*folder, appName, appName + "Helper.log")));
    }
    const auto& info = platform::Bundle::main().infoDictionary();
    const auto version = info.find("CFBundleVersion");
    if (version != info.end() && version->second.stringValue()) {
        const auto here = std::source_location::current();
        Logging::info("build " + *version->second.stringValue(), here.file_name(),
                      "tzHelperDefaults(logToFile:mainAppIdentifier:appName:)",
                      static_cast<int>(here.line()));
    }
}

void Logging::flush() {
    // Work handed to a member just replaced still runs on its queue.
    auto waitFor = destinationSet().retired();
    const auto current = destinations();
    waitFor.insert(waitFor.end(), current.begin(), current.end());
    for (const auto& destination : waitFor) {
        auto* queue = destination->queue();
        // A queue cannot wait for itself; its own work runs after this anyway.
        if (queue && !queue->isCurrent()) queue->drain();
    }
}

}  // namespace zelvana::logging
