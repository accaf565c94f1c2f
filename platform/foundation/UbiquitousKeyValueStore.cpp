#include "platform/foundation/UbiquitousKeyValueStore.hpp"

#include <cstdio>
#include <utility>

#include "platform/foundation/FileCoordinator.hpp"
#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/foundation/SystemFolders.hpp"

namespace zelvana::platform {

namespace {

namespace fs = std::filesystem;

void logLine(const std::string& message) {
    std::fprintf(stderr, "zelvana: cloud store: %s\n", message.c_str());
}

}  // namespace

UbiquitousKeyValueStore& UbiquitousKeyValueStore::defaultStore() {
    static auto* store = new UbiquitousKeyValueStore(defaultFolder());
    return *store;
}

fs::path UbiquitousKeyValueStore::defaultFolder() {
    if (auto support = SystemFolders::applicationSupport()) return *support / "zelvana-cloud";
    return fs::temp_directory_path() / "zelvana-cloud";
}

UbiquitousKeyValueStore::UbiquitousKeyValueStore(fs::path folder)
    : folder_(std::move(folder)), file_(folder_ / storeFileName) {
    values_ = readFile();
}

std::optional<PropertyValue> UbiquitousKeyValueStore::object(const std::string& key) const {
    std::lock_guard lock(mutex_);
    auto found = values_.find(key);
    if (found == values_.end()) return std::nullopt;
    return found->second;
}

std::optional<std::string> UbiquitousKeyValueStore::stringForKey(const std::string& key) const {
    auto value = object(key);
    if (!value || !value->isString()) return std::nullopt;
    return *value->stringValue();
}

void UbiquitousKeyValueStore::set(const std::string& key, PropertyValue value) {
    std::lock_guard lock(mutex_);
    values_[key] = value;
    pending_[key] = std::move(value);
}

void UbiquitousKeyValueStore::removeObject(const std::string& key) {
    std::lock_guard lock(mutex_);
    values_.erase(key);
    pending_[key] = std::nullopt;
}

PropertyDictionary UbiquitousKeyValueStore::dictionaryRepresentation() const {
    std::lock_guard lock(mutex_);
    return values_;
}

bool UbiquitousKeyValueStore::synchronize() {
    std::vector<std::string> changed;
    bool written = false;
    std::string error;
    FileCoordinator().coordinateWriting(
        file_,
        [&](const fs::path&) {
            std::lock_guard lock(mutex_);
            changed = mergeFromFile(readFile());
            if (pending_.empty() || writeFile(values_)) {
                pending_.clear();
                written = true;
            }
        },
        &error);
    if (!error.empty()) logLine("cannot synchronize " + file_.string() + ": " + error);
    if (!changed.empty()) postExternalChange(ChangeReason::serverChange, std::move(changed));
    return written;
}

void UbiquitousKeyValueStore::postExternalChange(ChangeReason reason,
                                                 std::vector<std::string> changedKeys) {
    Notification notification{didChangeExternallyNotification, this, {}};
    notification.userInfo[changeReasonKey] = static_cast<std::int64_t>(reason);
    notification.userInfo[changedKeysKey] = std::move(changedKeys);
    NotificationCenter::defaultCenter().post(notification);
}

// The file's values with this store's pending changes on top; returns the
// keys whose value the file changed.
std::vector<std::string> UbiquitousKeyValueStore::mergeFromFile(const PropertyDictionary& onDisk) {
    PropertyDictionary merged = onDisk;
    for (const auto& [key, value] : pending_) {
        if (value) {
            merged[key] = *value;
        } else {
            merged.erase(key);
        }
    }
    std::vector<std::string> changed;
    for (const auto& [key, value] : merged) {
        auto old = values_.find(key);
        if (old == values_.end() || old->second != value) changed.push_back(key);
    }
    for (const auto& [key, value] : values_) {
        if (!merged.contains(key)) changed.push_back(key);
    }
    values_ = std::move(merged);
    return changed;
}

PropertyDictionary UbiquitousKeyValueStore::readFile() const {
    if (!FileManager::defaultManager().fileExists(file_)) return {};
    std::string error;
    auto root = PropertyListSerialization::readFile(file_, &error);
    if (root && root->isDictionary()) return *root->dictionaryValue();
    if (root) error = "its root is not a dictionary";
    logLine("ignoring corrupt " + file_.string() + " (" + error + ")");
    keepCorruptFileAside();
    return {};
}

// A corrupt file is moved to a name of its own rather than overwritten, so
// nothing is lost silently, not even a copy kept aside the same second.
void UbiquitousKeyValueStore::keepCorruptFileAside() const {
    std::string error;
    if (!FileManager::defaultManager().moveAside(file_, storeFileName, "", &error)) {
        logLine("cannot keep corrupt " + file_.string() + " aside: " + error);
    }
}

bool UbiquitousKeyValueStore::writeFile(const PropertyDictionary& values) const {
    std::string error;
    if (!FileManager::defaultManager().createDirectory(folder_, true, &error) ||
        !PropertyListSerialization::writeFile(file_, PropertyValue(values), &error)) {
        logLine("cannot write " + file_.string() + ": " + error);
        return false;
    }
    return true;
}

}  // namespace zelvana::platform
