#include "Tools/FileUtil.hpp"

#include "Tools/MainBundleName.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/SystemFolders.hpp"

namespace zelvana::tools {

namespace {

std::string withoutAppExtensions(std::string name) {
    for (auto at = name.find(".app"); at != std::string::npos; at = name.find(".app")) {
        name.erase(at, 4);
    }
    return name;
}

}  // namespace

std::optional<std::filesystem::path> FileUtil::applicationSupportDirectory() {
    return platform::SystemFolders::applicationSupport();
}

FileUtil::FolderResult FileUtil::applicationFolder() {
    const auto base = applicationSupportDirectory();
    if (!base) return std::nullopt;
    const auto name = mainBundleName();
    if (!name) return std::nullopt;
    const auto folder = *base / *name;
    std::string error;
    if (!platform::FileManager::defaultManager().createDirectory(folder, true, &error)) {
        return FileSystemError{error};
    }
    return folder;
}

std::optional<std::string> FileUtil::appDisplayName(const std::string& bundleIdentifier) {
    const auto url = platform::Workspace::shared().urlForApplication(bundleIdentifier);
    if (!url) return std::nullopt;
    if (const auto bundle = platform::Bundle::open(*url)) {
        const auto& info = bundle->infoDictionary();
        const auto name = info.find("CFBundleName");
        if (name != info.end() && name->second.stringValue()) return *name->second.stringValue();
    }
    return withoutAppExtensions(platform::FileManager::defaultManager().displayName(*url));
}

}  // namespace zelvana::tools
