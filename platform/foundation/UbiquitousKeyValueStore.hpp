#pragma once

#include <cstdint>
#include <filesystem>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

#include "platform/foundation/PropertyList.hpp"

namespace zelvana::platform {

// Stand-in for the cloud key-value store: values live in memory and meet the
// other machines' values in one XML property-list file ("store.plist" in the
// folder given at creation) when synchronize() runs. Two instances on one
// folder behave as two machines of one account. Safe from any thread.
class UbiquitousKeyValueStore {
public:
    static constexpr const char* didChangeExternallyNotification =
        "NSUbiquitousKeyValueStoreDidChangeExternallyNotification";
    // User-info keys of that notification: the reason (ChangeReason as
    // std::int64_t) and the changed keys (std::vector<std::string>).
    static constexpr const char* changeReasonKey = "NSUbiquitousKeyValueStoreChangeReasonKey";
    static constexpr const char* changedKeysKey = "NSUbiquitousKeyValueStoreChangedKeysKey";
    static constexpr const char* storeFileName = "store.plist";

    enum class ChangeReason : std::int64_t {
        serverChange = 0,
        initialSyncChange = 1,
        quotaViolationChange = 2,
        accountChange = 3,
    };

    // The process's store, in defaultFolder(); created on first use.
    static UbiquitousKeyValueStore& defaultStore();
    // SystemFolders::applicationSupport()/zelvana-cloud, or a folder in the
    // temporary directory when there is no Application Support folder.
    static std::filesystem::path defaultFolder();

    // Reads what the folder's file holds; a missing file is an empty store.
    explicit UbiquitousKeyValueStore(std::filesystem::path folder);
    UbiquitousKeyValueStore(const UbiquitousKeyValueStore&) = delete;
    UbiquitousKeyValueStore& operator=(const UbiquitousKeyValueStore&) = delete;

    const std::filesystem::path& filePath() const { return file_; }

    std::optional<PropertyValue> object(const std::string& key) const;
    // Absent when the key is missing or holds something other than text.
    std::optional<std::string> stringForKey(const std::string& key) const;
    void set(const std::string& key, PropertyValue value);
    void setString(const std::string& key, std::string value) { set(key, std::move(value)); }
    void removeObject(const std::string& key);
    PropertyDictionary dictionaryRepresentation() const;

    // Meets the file: keys changed here since the last call win, every other
    // key is taken from the file. Keys whose value the file changed are
    // announced as a server change, after the file is written. False when the
    // file could not be written; the local changes are then kept for the next
    // call.
    bool synchronize();

    // Posts the external-change notification on the default centre, with this
    // store as its object, as the service does when values arrive.
    void postExternalChange(ChangeReason reason, std::vector<std::string> changedKeys);

private:
    PropertyDictionary readFile() const;
    bool writeFile(const PropertyDictionary& values) const;
    void keepCorruptFileAside() const;
    std::vector<std::string> mergeFromFile(const PropertyDictionary& onDisk);

    std::filesystem::path folder_;
    std::filesystem::path file_;
    mutable std::mutex mutex_;
    PropertyDictionary values_;
    // Keys changed here since the last synchronize; absent value = removed.
    std::map<std::string, std::optional<PropertyValue>> pending_;
};

}  // namespace zelvana::platform
