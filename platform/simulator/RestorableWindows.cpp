#include "platform/simulator/RestorableWindows.hpp"

#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/Coder.hpp"
#include "platform/appkit/WindowRestoration.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/SystemFolders.hpp"
#include "platform/simulator/SavedFiles.hpp"
#include "platform/system/UnifiedLog.hpp"

namespace zelvana::platform {

namespace {

std::vector<SavedWindow> takeSavedWindows() {
    const auto file = RestorableWindows::savedStateFile();
    auto& files = FileManager::defaultManager();
    SavedFiles::waitForWrites();
    if (!file || !files.fileExists(*file)) return {};
    auto text = files.contentsAtPath(*file);
    auto saved = text ? SavedWindow::fromJsonText(*text) : std::nullopt;
    if (!saved) UnifiedLog::write(LogType::Error, "Saved windows unreadable: " + file->string());
    // Saved state is used once; a later launch starts from what it saves.
    files.removeItem(*file);
    return std::move(saved).value_or(std::vector<SavedWindow>{});
}

}  // namespace

std::optional<std::filesystem::path> RestorableWindows::savedStateFile() {
    platform::assertMainThread();
    auto support = SystemFolders::applicationSupport();
    if (!support) return std::nullopt;
    const std::string bundle = Bundle::main().bundleIdentifier().value_or(executableName());
    return *support / "Saved Application State" / (bundle + ".savedState") / "windows.json";
}

void RestorableWindows::save(const WindowStack& windows) {
    platform::assertMainThread();
    const auto file = savedStateFile();
    if (!file) return;
    std::vector<SavedWindow> saved;
    for (const auto& own : windows.own()) {
        const Window& window = *own.window;
        if (!window.isRestorable() || window.isClosed() || window.restorationClass().empty()) {
            continue;
        }
        Coder state;
        window.encodeRestorableStateWithCoder(state);
        saved.push_back(SavedWindow{window.identifier(), window.restorationClass(),
                                    std::move(state), own.space.value_or(0), window.isVisible()});
    }
    if (saved.empty()) return;
    SavedFiles::write(
        *file, [saved = std::move(saved)] { return SavedWindow::toJsonText(saved); },
        "Windows not saved");
}

void RestorableWindows::restore(const Place& place) {
    platform::assertMainThread();
    for (const auto& saved : takeSavedWindows()) {
        const auto* restorer = WindowRestoration::restorer(saved.restorationClass);
        if (!restorer) continue;
        (*restorer)(saved.identifier, saved.state,
                    [&place, saved](Window* window, const std::optional<std::string>& error) {
                        if (window && !error) place(*window, saved);
                    });
    }
}

}  // namespace zelvana::platform
