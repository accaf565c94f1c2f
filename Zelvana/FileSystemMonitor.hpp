#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/core/Flags.hpp"
#include "platform/foundation/FileSystemEventStream.hpp"

namespace zelvana::core {

// The flags of one file event, by the stream's numbers; none is the empty set.
enum class FileEventFlag : std::int64_t {
    none = 0,
    mustScanSubDirs = 1,
    userDropped = 2,
    kernelDropped = 4,
    eventIdsWrapped = 8,
    historyDone = 16,
    rootChanged = 32,
    mount = 64,
    unmount = 128,
    itemCreated = 256,
    itemRemoved = 512,
    itemInodeMetaMod = 1024,
    itemRenamed = 2048,
    itemModified = 4096,
    itemFinderInfoMod = 8192,
    itemChangeOwner = 16384,
    itemXattrMod = 32768,
    itemIsFile = 65536,
    itemIsDir = 131072,
    itemIsSymlink = 262144,
    ownEvent = 524288,
    itemIsHardlink = 1048576,
    itemIsLastHardlink = 2097152,
    itemCloned = 4194304,
};
ZELVANA_FLAGS(FileEventFlag)
using FileEventFlags = platform::Flags<FileEventFlag>;

// A member with its name.
struct FileEventFlagMember {
    FileEventFlag flag;
    std::string_view name;
};
// Every member, "none" first, in the order of their values.
std::span<const FileEventFlagMember> allFileEventFlags();
// The name of one member; "Unknown option: <value>" for any other value.
std::string fileEventFlagName(std::int64_t value);
// "none" when empty; else the names of the members set, in table order,
// joined with ", ".
std::string debugDescription(FileEventFlags flags);

// One change reported by the stream.
struct FileEvent {
    std::string path;
    // The flags as delivered (32 bits, widened).
    std::int64_t rawFlag = 0;
    std::uint64_t id = 0;
    FileEventFlags flag;

    bool operator==(const FileEvent&) const = default;
};

class FileSystemMonitorDelegate {
public:
    virtual ~FileSystemMonitorDelegate() = default;
    virtual void filesChanged(const std::vector<FileEvent>& events) = 0;
};

// Turns the batches of a file-system event stream over `monitoredURLs` into
// FileEvent lists for its delegate, on the main queue. Main thread only.
class FileSystemMonitor {
public:
    FileSystemMonitor() = default;
    // Stops the stream, when there is one.
    ~FileSystemMonitor();
    FileSystemMonitor(const FileSystemMonitor&) = delete;
    FileSystemMonitor& operator=(const FileSystemMonitor&) = delete;

    // Non-owning: the delegate owns the monitor, or clears itself before it goes.
    FileSystemMonitorDelegate* delegate() const { return delegate_; }
    void setDelegate(FileSystemMonitorDelegate* delegate) { delegate_ = delegate; }
    const std::set<std::filesystem::path>& monitoredURLs() const { return monitoredURLs_; }
    void setMonitoredURLs(std::set<std::filesystem::path> urls) {
        monitoredURLs_ = std::move(urls);
    }

    // Starts a stream over the monitored URLs, replacing a running one; false
    // when none of them can be watched.
    bool start(platform::TimeInterval latency, std::string* error = nullptr);
    void stop();
    bool hasStream() const { return stream_ != nullptr; }

    // What the stream's callback does with a batch. Events on ".DS_Store"
    // files are left out, so a batch of only those hands over an empty list.
    void handleEvents(std::size_t eventCount, std::span<const std::string> paths,
                      std::span<const std::uint32_t> flags,
                      std::span<const platform::FSEventStreamEventId> ids);

private:
    FileSystemMonitorDelegate* delegate_ = nullptr;
    std::set<std::filesystem::path> monitoredURLs_;
    std::unique_ptr<platform::FileSystemEventStream> stream_;
};

}  // namespace zelvana::core
