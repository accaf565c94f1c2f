#include "platform/simulator/SavedFiles.hpp"

#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/FileManager.hpp"
#include "platform/system/UnifiedLog.hpp"

namespace zelvana::platform::SavedFiles {

namespace {

// Ends with the process, after running what was queued.
SerialQueue& queue() {
    static SerialQueue writes("SavedFiles");
    return writes;
}

}  // namespace

void write(std::filesystem::path file, std::function<std::string()> text, std::string what) {
    queue().async([file = std::move(file), text = std::move(text), what = std::move(what)] {
        std::string error;
        auto& files = FileManager::defaultManager();
        if (!files.createDirectory(file.parent_path(), true, &error) ||
            !files.writeAtomically(file, text(), &error)) {
            UnifiedLog::write(LogType::Error, what + ": " + error);
        }
    });
}

void waitForWrites() {
    queue().drain();
}

}  // namespace zelvana::platform::SavedFiles
