#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <thread>
#include <vector>

#include "platform/dispatch/Queue.hpp"

namespace zelvana::platform {

// The event flags of a file-system event stream, as FSEvents numbers them.
// Only those that inotify can tell are ever set.
enum FSEventStreamEventFlags : std::uint32_t {
    kFSEventStreamEventFlagNone = 0,
    kFSEventStreamEventFlagMustScanSubDirs = 1,
    kFSEventStreamEventFlagKernelDropped = 4,
    kFSEventStreamEventFlagRootChanged = 32,
    kFSEventStreamEventFlagItemCreated = 256,
    kFSEventStreamEventFlagItemRemoved = 512,
    kFSEventStreamEventFlagItemInodeMetaMod = 1024,
    kFSEventStreamEventFlagItemRenamed = 2048,
    kFSEventStreamEventFlagItemModified = 4096,
    kFSEventStreamEventFlagItemIsFile = 65536,
    kFSEventStreamEventFlagItemIsDir = 131072,
};

using FSEventStreamEventId = std::uint64_t;

// Reports changes below a set of paths, in batches, on a dispatch queue. A
// folder reports its own entries (one level deep); a file is watched through
// its folder, so it may be missing at the start and replaced atomically.
// Events of one path that arrive within the latency are merged into one
// with the union of their flags. Backed by inotify and a reader thread.
//
// Create, start, stop and destroy the stream on the queue it delivers to.
class FileSystemEventStream {
public:
    // Called with each batch; never after the stream is stopped or destroyed.
    using Callback =
        std::function<void(const FileSystemEventStream& stream, std::size_t eventCount,
                           std::span<const std::string> paths, std::span<const std::uint32_t> flags,
                           std::span<const FSEventStreamEventId> ids)>;

    // `latency`: seconds of the process clock between the first event of a
    // batch and its delivery. `queue`: where the callback runs.
    FileSystemEventStream(Callback callback, std::vector<std::filesystem::path> paths,
                          TimeInterval latency, DispatchQueue& queue = mainQueue());
    ~FileSystemEventStream();
    FileSystemEventStream(const FileSystemEventStream&) = delete;
    FileSystemEventStream& operator=(const FileSystemEventStream&) = delete;

    // Begins watching; false, with the reasons in `error`, when no path could
    // be watched. Paths that cannot be watched are left out.
    bool start(std::string* error = nullptr);
    // Stops watching and drops events not yet delivered. Start may follow.
    void stop();
    bool isStarted() const { return reader_.joinable(); }

    const std::vector<std::filesystem::path>& pathsBeingWatched() const { return paths_; }
    TimeInterval latency() const { return latency_; }

private:
    struct Batch;
    struct Watches;

    // The batch outlives the reader thread, which stop() joins.
    static void readEvents(int inotify, int wake, Watches watches, Batch* batch);
    bool addWatches(int descriptor, Watches& watches, std::string* error) const;
    void closeDescriptors();

    std::vector<std::filesystem::path> paths_;
    TimeInterval latency_;
    std::shared_ptr<Batch> batch_;
    std::thread reader_;
    int inotify_ = -1;
    int wake_ = -1;
};

}  // namespace zelvana::platform
