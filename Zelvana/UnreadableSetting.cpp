#include "Zelvana/UnreadableSetting.hpp"

#include <cstdio>
#include <optional>

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

bool keepUnreadableAside(const settings::StringDefault& setting, const UnreadableWording& wording) {
    const auto stored = storedText(setting);
    if (!stored) return true;
    std::string error;
    const auto subject = std::string(wording.subject);
    if (const auto kept = writeAside(setting.key(), *stored, &error)) {
        tellThePerson(logging::Level::warning, subject + " cannot be read; " +
                                                   std::string(wording.possessive) +
                                                   " text is kept in " + *kept);
        return true;
    }
    tellThePerson(logging::Level::error, subject + " cannot be read nor kept aside (" + error +
                                             "), so " + std::string(wording.ifNotKept));
    return false;
}

void tellThePerson(logging::Level level, const std::string& message, logging::CallSite site) {
    logging::Logging::custom(level, message, {}, site);
    std::fprintf(stderr, "zelvana: %s\n", message.c_str());
    std::fflush(stderr);
}

}  // namespace zelvana::core
