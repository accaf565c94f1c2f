#include "platform/foundation/FileSystemEventStream.hpp"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>
#include <set>

namespace zelvana::platform {

namespace fs = std::filesystem;

namespace {

constexpr std::uint32_t kWatchMask = IN_CREATE | IN_DELETE | IN_MODIFY | IN_ATTRIB | IN_MOVED_FROM |
                                     IN_MOVED_TO | IN_DELETE_SELF | IN_MOVE_SELF;

// Event identifiers only grow, across every stream of the process.
std::atomic<FSEventStreamEventId> gLastEventId{0};

std::uint32_t itemFlags(std::uint32_t mask) {
    std::uint32_t flags = 0;
    if (mask & IN_CREATE) flags |= kFSEventStreamEventFlagItemCreated;
    if (mask & IN_DELETE) flags |= kFSEventStreamEventFlagItemRemoved;
    if (mask & IN_MODIFY) flags |= kFSEventStreamEventFlagItemModified;
    if (mask & IN_ATTRIB) flags |= kFSEventStreamEventFlagItemInodeMetaMod;
    if (mask & (IN_MOVED_FROM | IN_MOVED_TO)) flags |= kFSEventStreamEventFlagItemRenamed;
    flags |=
        (mask & IN_ISDIR) ? kFSEventStreamEventFlagItemIsDir : kFSEventStreamEventFlagItemIsFile;
    return flags;
}

}  // namespace

struct FileSystemEventStream::Watches {
    // One watched folder: all of its entries, or only the named files.
    struct Folder {
        fs::path folder;
        bool wholeFolder = false;
        std::set<std::string> files;
    };

    void report(const inotify_event& event, Batch& batch) const;

    // By watch descriptor.
    std::map<int, Folder> folders;
};

// The events gathered for the next delivery; shared between the reader
// thread, which adds, and the queue, which delivers.
struct FileSystemEventStream::Batch : std::enable_shared_from_this<Batch> {
    Callback callback;
    const FileSystemEventStream* stream = nullptr;
    DispatchQueue* queue = nullptr;
    TimeInterval latency = 0;

    std::mutex mutex;
    bool active = false;
    std::vector<std::string> paths;
    std::vector<std::uint32_t> flags;
    std::vector<FSEventStreamEventId> ids;
    std::shared_ptr<WorkItem> scheduled;

    void add(const std::string& path, std::uint32_t eventFlags) {
        std::lock_guard lock(mutex);
        if (!active) return;
        const FSEventStreamEventId id = ++gLastEventId;
        std::size_t index = 0;
        while (index < paths.size() && paths[index] != path) ++index;
        if (index == paths.size()) {
            paths.push_back(path);
            flags.push_back(eventFlags);
            ids.push_back(id);
        } else {
            flags[index] |= eventFlags;
            ids[index] = id;
        }
        if (!scheduled) schedule();
    }

    // Without latency the work goes straight to the ready work, so a
    // waiting loop wakes for it at once.
    void schedule() {
        // Taken by the reader thread and used on the queue, which need not be the main one.
        Task task = [self = weak_from_this()] {
            if (const auto batch = self.lock()) batch->deliver();
        };
        if (latency > 0) {
            scheduled = queue->asyncAfter(latency, std::move(task));
            return;
        }
        scheduled = std::make_shared<WorkItem>(std::move(task));
        queue->async([item = scheduled] { item->perform(); });
    }

    void deliver() {
        std::vector<std::string> deliveredPaths;
        std::vector<std::uint32_t> deliveredFlags;
        std::vector<FSEventStreamEventId> deliveredIds;
        {
            std::lock_guard lock(mutex);
            scheduled.reset();
            if (!active || paths.empty()) return;
            deliveredPaths.swap(paths);
            deliveredFlags.swap(flags);
            deliveredIds.swap(ids);
        }
        // A copy: the callback may stop and destroy the stream, and this batch with it.
        const Callback deliverTo = callback;
        deliverTo(*stream, deliveredPaths.size(), deliveredPaths, deliveredFlags, deliveredIds);
    }

    void setActive(bool isActive) {
        std::lock_guard lock(mutex);
        active = isActive;
        if (scheduled) scheduled->cancel();
        scheduled.reset();
        paths.clear();
        flags.clear();
        ids.clear();
    }
};

// Reads until the wake descriptor is signalled.
void FileSystemEventStream::readEvents(int inotify, int wake, Watches watches, Batch* batch) {
    alignas(inotify_event) char buffer[64 * 1024];
    pollfd descriptors[2] = {{inotify, POLLIN, 0}, {wake, POLLIN, 0}};
    while (true) {
        if (::poll(descriptors, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (descriptors[1].revents != 0) return;
        const ssize_t length = ::read(inotify, buffer, sizeof buffer);
        if (length <= 0) {
            if (length < 0 && (errno == EINTR || errno == EAGAIN)) continue;
            return;
        }
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(buffer + at);
            watches.report(*event, *batch);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
    }
}

void FileSystemEventStream::Watches::report(const inotify_event& event, Batch& batch) const {
    if (event.mask & IN_Q_OVERFLOW) {
        // Events were lost: every folder has to be looked at again.
        for (const auto& [descriptor, watched] : folders) {
            batch.add(watched.folder.string(), kFSEventStreamEventFlagMustScanSubDirs |
                                                   kFSEventStreamEventFlagKernelDropped);
        }
        return;
    }
    const auto found = folders.find(event.wd);
    if (found == folders.end() || (event.mask & IN_IGNORED)) return;
    const Watches::Folder& watched = found->second;
    if (event.len == 0) {
        if (event.mask & (IN_DELETE_SELF | IN_MOVE_SELF)) {
            batch.add(watched.folder.string(),
                      kFSEventStreamEventFlagRootChanged | kFSEventStreamEventFlagItemIsDir);
        }
        return;
    }
    const std::string name(event.name);
    if (!watched.wholeFolder && !watched.files.contains(name)) return;
    batch.add((watched.folder / name).string(), itemFlags(event.mask));
}

FileSystemEventStream::FileSystemEventStream(Callback callback, std::vector<fs::path> paths,
                                             TimeInterval latency, DispatchQueue& queue)
    : latency_(latency), batch_(std::make_shared<Batch>()) {
    for (auto& path : paths) paths_.push_back(fs::absolute(path).lexically_normal());
    batch_->callback = std::move(callback);
    batch_->stream = this;
    batch_->queue = &queue;
    batch_->latency = latency;
}

FileSystemEventStream::~FileSystemEventStream() {
    stop();
}

bool FileSystemEventStream::start(std::string* error) {
    if (isStarted()) return true;
    inotify_ = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    wake_ = ::eventfd(0, EFD_CLOEXEC);
    Watches watches;
    if (inotify_ < 0 || wake_ < 0) {
        if (error) *error = std::string("cannot watch files: ") + std::strerror(errno);
        closeDescriptors();
        return false;
    }
    if (!addWatches(inotify_, watches, error)) {
        closeDescriptors();
        return false;
    }
    batch_->setActive(true);
    reader_ = std::thread(readEvents, inotify_, wake_, std::move(watches), batch_.get());
    return true;
}

void FileSystemEventStream::stop() {
    if (!isStarted()) return;
    const std::uint64_t one = 1;
    [[maybe_unused]] const auto written = ::write(wake_, &one, sizeof one);
    reader_.join();
    closeDescriptors();
    batch_->setActive(false);
}

bool FileSystemEventStream::addWatches(int descriptor, Watches& watches, std::string* error) const {
    std::string failures;
    for (const auto& path : paths_) {
        std::error_code ignored;
        const bool isFolder = fs::is_directory(path, ignored);
        const fs::path folder = isFolder ? path : path.parent_path();
        const int watch = ::inotify_add_watch(descriptor, folder.c_str(), kWatchMask);
        if (watch < 0) {
            failures +=
                (failures.empty() ? "" : "; ") + path.string() + ": " + std::strerror(errno);
            continue;
        }
        Watches::Folder& watched = watches.folders[watch];
        watched.folder = folder;
        if (isFolder) {
            watched.wholeFolder = true;
        } else {
            watched.files.insert(path.filename().string());
        }
    }
    if (error && !failures.empty()) *error = "cannot watch " + failures;
    return !watches.folders.empty();
}

void FileSystemEventStream::closeDescriptors() {
    if (inotify_ >= 0) ::close(inotify_);
    if (wake_ >= 0) ::close(wake_);
    inotify_ = wake_ = -1;
}

}  // namespace zelvana::platform
