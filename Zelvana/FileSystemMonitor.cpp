#include "Zelvana/FileSystemMonitor.hpp"
#include "platform/core/MainThread.hpp"

#include <array>

namespace zelvana::core {

namespace {

constexpr std::array<FileEventFlag::Member, 24> kMembers{{
    {0, "none"},
    {1, "mustScanSubDirs"},
    {2, "userDropped"},
    {4, "kernelDropped"},
    {8, "eventIdsWrapped"},
    {16, "historyDone"},
    {32, "rootChanged"},
    {64, "mount"},
    {128, "unmount"},
    {256, "itemCreated"},
    {512, "itemRemoved"},
    {1024, "itemInodeMetaMod"},
    {2048, "itemRenamed"},
    {4096, "itemModified"},
    {8192, "itemFinderInfoMod"},
    {16384, "itemChangeOwner"},
    {32768, "itemXattrMod"},
    {65536, "itemIsFile"},
    {131072, "itemIsDir"},
    {262144, "itemIsSymlink"},
    {524288, "ownEvent"},
    {1048576, "itemIsHardlink"},
    {2097152, "itemIsLastHardlink"},
    {4194304, "itemCloned"},
}};

}  // namespace

std::span<const FileEventFlag::Member> FileEventFlag::allMembers() {
    return kMembers;
}

std::string FileEventFlag::name(RawValue value) {
    for (const auto& member : kMembers) {
        if (member.value == value) return std::string(member.name);
    }
    return "Unknown option: " + std::to_string(value);
}

std::string FileEventFlag::debugDescription() const {
    if (isEmpty()) return "none";
    std::string description;
    for (const auto& member : allMembers().subspan(1)) {
        if (!contains(FileEventFlag(member.value))) continue;
        if (!description.empty()) description += ", ";
        description += member.name;
    }
    return description;
}

FileSystemMonitor::~FileSystemMonitor() {
    stop();
}

bool FileSystemMonitor::start(platform::TimeInterval latency, std::string* error) {
    platform::assertMainThread();
    stop();
    auto stream = std::make_unique<platform::FileSystemEventStream>(
        // The stream is ours and stops before we go, so it never calls a monitor that is gone.
        [this](const platform::FileSystemEventStream&, std::size_t eventCount,
               std::span<const std::string> paths, std::span<const std::uint32_t> flags,
               std::span<const platform::FSEventStreamEventId> ids) {
            handleEvents(eventCount, paths, flags, ids);
        },
        std::vector<std::filesystem::path>(monitoredURLs_.begin(), monitoredURLs_.end()), latency);
    if (!stream->start(error)) return false;
    stream_ = std::move(stream);
    return true;
}

void FileSystemMonitor::stop() {
    platform::assertMainThread();
    if (!stream_) return;
    stream_->stop();
    stream_.reset();
}

void FileSystemMonitor::handleEvents(std::size_t eventCount, std::span<const std::string> paths,
                                     std::span<const std::uint32_t> flags,
                                     std::span<const platform::FSEventStreamEventId> ids) {
    platform::assertMainThread();
    if (eventCount < 1) return;
    if (paths.size() < eventCount || flags.size() < eventCount || ids.size() < eventCount) return;
    std::vector<FileEvent> events;
    for (std::size_t i = 0; i < eventCount; ++i) {
        if (paths[i].ends_with(".DS_Store")) continue;
        const auto raw = static_cast<std::int64_t>(flags[i]);
        events.push_back(FileEvent{paths[i], raw, ids[i], FileEventFlag(raw)});
    }
    if (delegate_) delegate_->filesChanged(events);
}

}  // namespace zelvana::core
