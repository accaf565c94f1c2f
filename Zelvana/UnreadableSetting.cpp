#include "Zelvana/UnreadableSetting.hpp"

#include <cstdio>

#include "Logging/Logging.hpp"
#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/foundation/SystemFolders.hpp"
#include "platform/foundation/UserDefaults.hpp"

namespace zelvana::core {

namespace {

struct StoredText {
    std::string text;
    std::string extension;
};

std::optional<StoredText> storedText(const settings::StringDefault& setting) {
    if (const auto& text = setting.value()) {
        if (text->empty() || *text == "null") return std::nullopt;
        return StoredText{*text, ".json"};
    }
    const auto stored = platform::UserDefaults::standard().object(setting.key());
    if (!stored) return std::nullopt;
    return StoredText{platform::PropertyListSerialization::toXml(*stored), ".plist"};
}

std::optional<std::string> writeAside(const std::string& key, const StoredText& stored,
                                      std::string* error) {
    const auto support = platform::SystemFolders::applicationSupport();
    if (!support) {
        *error = "there is no Application Support folder";
        return std::nullopt;
    }
    const auto folder = *support / "zelvana";
    auto& files = platform::FileManager::defaultManager();
    if (!files.createDirectory(folder, true, error)) return std::nullopt;
    const auto path = files.pathForKeepingAside(folder, key, stored.extension);
    if (!path) {
        *error = "every name is taken";
        return std::nullopt;
    }
    if (!files.writeAtomically(*path, stored.text, error)) return std::nullopt;
    return path->string();
}

}  // namespace

std::optional<UnreadableSetting> keepUnreadableAside(const settings::StringDefault& setting,
                                                     bool decodes) {
    if (decodes) return std::nullopt;
    const auto stored = storedText(setting);
    if (!stored) return std::nullopt;
    UnreadableSetting unreadable;
    unreadable.keptIn = writeAside(setting.key(), *stored, &unreadable.error);
    return unreadable;
}

void tellThePerson(logging::Level level, const std::string& message, logging::CallSite site) {
    logging::Logging::custom(level, message, {}, site);
    std::fprintf(stderr, "zelvana: %s\n", message.c_str());
    std::fflush(stderr);
}

}  // namespace zelvana::core
