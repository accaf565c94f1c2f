#pragma once

#include <memory>
#include <vector>

#include "Zelvana/FileSystemMonitor.hpp"
#include "Zelvana/SpacesPlist.hpp"

namespace zelvana::core {

// Reads the spaces preference file again when its monitor reports a
// modification, and posts "plistUpdated" with what it read when the file
// describes as many displays as are attached. Nothing starts its monitor
// unless `start` is called. Main thread only.
class SpacesPlistObserver final : public FileSystemMonitorDelegate {
public:
    // Seconds the monitor's stream gathers events before delivering them.
    static constexpr platform::TimeInterval latency = 0.5;

    SpacesPlistObserver();

    // Makes itself the monitor's delegate and watches the file; false when
    // its folder cannot be watched.
    bool start();

    // Rereads when any event's flags include a modification, whatever else
    // they carry; an empty batch does nothing.
    void filesChanged(const std::vector<FileEvent>& events) override;
    // Reads the file, writes "<monitors>:<screens>" to standard output and
    // posts "plistUpdated" when the two counts agree.
    void reread();

    const SpacesPlist& spacesPlist() const { return spacesPlist_; }
    FileSystemMonitor& fileSystemMonitor() { return *fileSystemMonitor_; }

private:
    SpacesPlist spacesPlist_;
    std::unique_ptr<FileSystemMonitor> fileSystemMonitor_;
};

}  // namespace zelvana::core
