#pragma once

#include <cstdint>
#include <filesystem>
#include <initializer_list>
#include <memory>
#include <set>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/foundation/FileSystemEventStream.hpp"

namespace zelvana::core {

// The flags of one file event as an option set over the stream's numbers.
class FileEventFlag {
public:
    using RawValue = std::int64_t;

    constexpr FileEventFlag() = default;
    constexpr explicit FileEventFlag(RawValue rawValue) : rawValue_(rawValue) {}
    constexpr FileEventFlag(std::initializer_list<FileEventFlag> members) {
        for (const auto member : members) rawValue_ |= member.rawValue_;
    }

    static const FileEventFlag none, mustScanSubDirs, userDropped, kernelDropped, eventIdsWrapped,
        historyDone, rootChanged, mount, unmount, itemCreated, itemRemoved, itemInodeMetaMod,
        itemRenamed, itemModified, itemFinderInfoMod, itemChangeOwner, itemXattrMod, itemIsFile,
        itemIsDir, itemIsSymlink, ownEvent, itemIsHardlink, itemIsLastHardlink, itemCloned;

    // Every member with its name, "none" first, in the order of their values.
    struct Member {
        RawValue value;
        std::string_view name;
    };
    static std::span<const Member> allMembers();
    // The name of one member; "Unknown option: <value>" for any other value.
    static std::string name(RawValue value);

    constexpr RawValue rawValue() const { return rawValue_; }
    constexpr bool isEmpty() const { return rawValue_ == 0; }
    // Every bit of `other` is set here.
    constexpr bool contains(FileEventFlag other) const {
        return (rawValue_ & other.rawValue_) == other.rawValue_;
    }
    constexpr bool isSubset(FileEventFlag of) const { return of.contains(*this); }
    constexpr bool isSuperset(FileEventFlag of) const { return contains(of); }
    constexpr void insert(FileEventFlag member) { rawValue_ |= member.rawValue_; }
    constexpr void remove(FileEventFlag member) { rawValue_ &= ~member.rawValue_; }

    constexpr FileEventFlag operator|(FileEventFlag other) const {
        return FileEventFlag(rawValue_ | other.rawValue_);
    }
    constexpr FileEventFlag operator&(FileEventFlag other) const {
        return FileEventFlag(rawValue_ & other.rawValue_);
    }
    constexpr FileEventFlag operator^(FileEventFlag other) const {
        return FileEventFlag(rawValue_ ^ other.rawValue_);
    }
    constexpr bool operator==(const FileEventFlag&) const = default;

    // "none" when empty; else the names of the members set, in table order,
    // joined with ", ".
    std::string debugDescription() const;

private:
    RawValue rawValue_ = 0;
};

inline constexpr FileEventFlag FileEventFlag::none{0};
inline constexpr FileEventFlag FileEventFlag::mustScanSubDirs{1};
inline constexpr FileEventFlag FileEventFlag::userDropped{2};
inline constexpr FileEventFlag FileEventFlag::kernelDropped{4};
inline constexpr FileEventFlag FileEventFlag::eventIdsWrapped{8};
inline constexpr FileEventFlag FileEventFlag::historyDone{16};
inline constexpr FileEventFlag FileEventFlag::rootChanged{32};
inline constexpr FileEventFlag FileEventFlag::mount{64};
inline constexpr FileEventFlag FileEventFlag::unmount{128};
inline constexpr FileEventFlag FileEventFlag::itemCreated{256};
inline constexpr FileEventFlag FileEventFlag::itemRemoved{512};
inline constexpr FileEventFlag FileEventFlag::itemInodeMetaMod{1024};
inline constexpr FileEventFlag FileEventFlag::itemRenamed{2048};
inline constexpr FileEventFlag FileEventFlag::itemModified{4096};
inline constexpr FileEventFlag FileEventFlag::itemFinderInfoMod{8192};
inline constexpr FileEventFlag FileEventFlag::itemChangeOwner{16384};
inline constexpr FileEventFlag FileEventFlag::itemXattrMod{32768};
inline constexpr FileEventFlag FileEventFlag::itemIsFile{65536};
inline constexpr FileEventFlag FileEventFlag::itemIsDir{131072};
inline constexpr FileEventFlag FileEventFlag::itemIsSymlink{262144};
inline constexpr FileEventFlag FileEventFlag::ownEvent{524288};
inline constexpr FileEventFlag FileEventFlag::itemIsHardlink{1048576};
inline constexpr FileEventFlag FileEventFlag::itemIsLastHardlink{2097152};
inline constexpr FileEventFlag FileEventFlag::itemCloned{4194304};

// One change reported by the stream.
struct FileEvent {
    std::string path;
    // The flags as delivered (32 bits, widened).
    std::int64_t rawFlag = 0;
    std::uint64_t id = 0;
    FileEventFlag flag;

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
