#include "Zelvana/UnreadableSetting.hpp"

#include <cstdio>
#include <filesystem>
#include <optional>
#include <string>
#include <variant>

#include "Logging/Logging.hpp"
#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/foundation/SystemFolders.hpp"
#include "platform/foundation/UserDefaults.hpp"

namespace zelvana::core {

namespace {

// What a setting holds: its JSON text, or the property list it was stored as
// instead, which is kept whole.
using Stored = std::variant<std::string, platform::PropertyValue>;

std::optional<Stored> storedValue(const settings::StringDefault& setting) {
    if (const auto& text = setting.value()) {
        if (text->empty() || *text == "null") return std::nullopt;
        return *text;
    }
    const auto stored = platform::UserDefaults::standard().object(setting.key());
    if (!stored) return std::nullopt;
    return *stored;
}

bool write(const std::filesystem::path& path, const Stored& stored, std::string* error) {
    if (const auto* text = std::get_if<std::string>(&stored)) {
        return platform::FileManager::defaultManager().writeAtomically(path, *text, error);
    }
    // Binary when a text holds what XML cannot carry.
    return platform::PropertyListSerialization::writeFile(
        path, std::get<platform::PropertyValue>(stored), error);
}

std::optional<std::string> writeAside(const std::string& key, const Stored& stored,
                                      std::string* error) {
    const auto support = platform::SystemFolders::applicationSupport();
    if (!support) {
        *error = "there is no Application Support folder";
        return std::nullopt;
    }
    const auto folder = *support / "zelvana";
    auto& files = platform::FileManager::defaultManager();
    if (!files.createDirectory(folder, true, error)) return std::nullopt;
    const auto extension = std::holds_alternative<std::string>(stored) ? ".json" : ".plist";
    const auto path = files.pathForKeepingAside(folder, key, extension);
    if (!path) {
        *error = "every name is taken";
        return std::nullopt;
    }
    if (!write(*path, stored, error)) return std::nullopt;
    return path->string();
}

// Logged, and said on standard error as a corrupt preferences file is: what
// the person stored is at stake.
void tellThePerson(logging::Level level, const std::string& message, logging::CallSite site = {}) {
    logging::Logging::custom(level, message, {}, site);
    std::fprintf(stderr, "zelvana: %s\n", message.c_str());
    std::fflush(stderr);
}

}  // namespace

bool keepUnreadableAside(const settings::StringDefault& setting, const UnreadableWording& wording) {
    const auto stored = storedValue(setting);
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

}  // namespace zelvana::core
