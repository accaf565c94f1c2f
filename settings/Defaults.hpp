#pragma once

#include <string>

#include "platform/foundation/NotificationCenter.hpp"
#include "platform/foundation/UbiquitousKeyValueStore.hpp"
#include "settings/DateDefault.hpp"
#include "settings/Default.hpp"
#include "settings/OptionalBoolDefault.hpp"
#include "settings/StringDefault.hpp"

namespace zelvana::settings {

// The settings module's process-wide state: which keys are observed, which
// settings take part in the cloud snapshot, the module's own three settings,
// and the snapshot's export and import through the cloud key-value store.
// Never instantiated; everything here belongs to the main queue except the
// observed and synced lookups, which any thread may make.
class Defaults {
public:
    static constexpr const char* configKey = "config";
    static constexpr double uploadDelay = 5.0;
    static constexpr double importDelay = 2.0;

    Defaults() = delete;

    // The version of the last run ("lastVersion").
    static StringDefault& lastVersion();
    // The user's switch for the cloud snapshot ("iCloudSync").
    static OptionalBoolDefault& iCloudSync();
    // The time stamp of the last snapshot exported or applied ("lastCloudSync").
    static DateDefault& lastCloudSync();

    // Uploads need this besides iCloudSync.
    static bool cloudSyncAvailable();
    static void setCloudSyncAvailable(bool available);

    // Marks the key observed and registers `handler` for its notifications,
    // until the token goes or the module is reset.
    [[nodiscard]] static platform::Subscription observe(
        const std::string& key, platform::NotificationCenter::Observer handler);
    // Marks the key observed: its changes are posted from now on.
    static void announceChanges(const std::string& key);
    static bool isObserved(const std::string& key);
    // The setting takes part in the snapshot; it must outlive the module.
    static void addSyncedDefault(Default& setting);
    static bool isSynced(const std::string& key);
    static bool isImporting();

    // Exports 5 s after the last call, when sync is on and no import runs.
    static void scheduleCloudUpload();
    // Writes the snapshot of the synced settings under "config" and stamps
    // lastCloudSync with its time, so that an older snapshot from elsewhere
    // is not applied over what this machine has.
    static void exportToCloud();
    // The store's change notification: runs importFromCloud 2 s after the
    // last one.
    static void changesDetected(const platform::Notification& notification);
    // Applies the stored snapshot once per "config" among the changed keys,
    // when it is newer than lastCloudSync; an older one is answered with an
    // upload.
    static void importFromCloud(const platform::Notification& notification);

    // The store that snapshots go through; the default store until set.
    static platform::UbiquitousKeyValueStore& cloudStore();
    static void setCloudStore(platform::UbiquitousKeyValueStore* store);
    // Registers changesDetected for the cloud store's external changes.
    static void observeCloudStore();

    // For tests: drops every piece of the state, as if the process had just
    // started, and removes the handlers registered through observe.
    // References to the module's settings become invalid.
    static void resetForTesting();
};

}  // namespace zelvana::settings
