#include "Zelvana/FileSystemMonitor.hpp"
#include "platform/core/MainThread.hpp"

#include <array>

namespace zelvana::core {

namespace {

constexpr std::array<FileEventFlagMember, 24> kMembers{{
    {FileEventFlag::none, "none"},
    {FileEventFlag::mustScanSubDirs, "mustScanSubDirs"},
    {FileEventFlag::userDropped, "userDropped"},
    {FileEventFlag::kernelDropped, "kernelDropped"},
    {FileEventFlag::eventIdsWrapped, "eventIdsWrapped"},
    {FileEventFlag::historyDone, "historyDone"},
    {FileEventFlag::rootChanged, "rootChanged"},
    {FileEventFlag::mount, "mount"},
    {FileEventFlag::unmount, "unmount"},
    {FileEventFlag::itemCreated, "itemCreated"},
    {FileEventFlag::itemRemoved, "itemRemoved"},
    {FileEventFlag::itemInodeMetaMod, "itemInodeMetaMod"},
    {FileEventFlag::itemRenamed, "itemRenamed"},
    {FileEventFlag::itemModified, "itemModified"},
    {FileEventFlag::itemFinderInfoMod, "itemFinderInfoMod"},
    {FileEventFlag::itemChangeOwner, "itemChangeOwner"},
    {FileEventFlag::itemXattrMod, "itemXattrMod"},
    {FileEventFlag::itemIsFile, "itemIsFile"},
    {FileEventFlag::itemIsDir, "itemIsDir"},
    {FileEventFlag::itemIsSymlink, "itemIsSymlink"},
    {FileEventFlag::ownEvent, "ownEvent"},
    {FileEventFlag::itemIsHardlink, "itemIsHardlink"},
    {FileEventFlag::itemIsLastHardlink, "itemIsLastHardlink"},
    {FileEventFlag::itemCloned, "itemCloned"},
}};

}  // namespace

std::span<const FileEventFlagMember> allFileEventFlags() {
    return kMembers;
}

std::string fileEventFlagName(std::int64_t value) {
    for (const auto& member : kMembers) {
        if (static_cast<std::int64_t>(member.flag) == value) return std::string(member.name);
    }
    return "Unknown option: " + std::to_string(value);
}

std::string debugDescription(FileEventFlags flags) {
    if (flags.isEmpty()) return "none";
    std::string description;
    for (const auto& member : allFileEventFlags().subspan(1)) {
        if (!flags.contains(member.flag)) continue;
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
        events.push_back(FileEvent{paths[i], raw, ids[i], FileEventFlags::fromRaw(raw)});
    }
    if (delegate_) delegate_->filesChanged(events);
}

}  // namespace zelvana::core
