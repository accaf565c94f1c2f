#include "settings/Defaults.hpp"

#include <algorithm>
#include <any>
#include <atomic>
#include <cmath>
#include <memory>
#include <mutex>
#include <unordered_set>
#include <utility>
#include <vector>

#include "Logging/Logging.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/dispatch/Queue.hpp"
#include "settings/Config.hpp"

namespace zelvana::settings {

namespace {

using logging::Logging;
using platform::UbiquitousKeyValueStore;

struct ModuleState {
    std::mutex mutex;
    std::unordered_set<std::string> observedKeys;
    // Handlers registered before the last reset stay quiet.
    std::atomic<std::uint64_t> generation = 0;
    std::vector<Default*> syncedDefaults;
    bool cloudSyncAvailable = false;
    bool isImporting = false;
    std::shared_ptr<platform::WorkItem> pendingUpload;
    std::shared_ptr<platform::WorkItem> pendingImport;
    std::unique_ptr<StringDefault> lastVersion;
    std::unique_ptr<OptionalBoolDefault> iCloudSync;
    std::unique_ptr<DateDefault> lastCloudSync;
    UbiquitousKeyValueStore* store = nullptr;
    platform::Subscription storeObserver;
};

// Never freed: settings live until the process ends.
ModuleState& state() {
    static auto* module = new ModuleState();
    return *module;
}

template <typename Setting, typename... Arguments>
Setting& lazily(std::unique_ptr<Setting> ModuleState::*slot, Arguments... arguments) {
    auto& module = state();
    std::lock_guard lock(module.mutex);
    auto& setting = module.*slot;
    if (!setting) setting = std::make_unique<Setting>(arguments...);
    return *setting;
}

void replacePending(std::shared_ptr<platform::WorkItem> ModuleState::*slot, double delay,
                    platform::Task task) {
    auto item = platform::mainQueue().asyncAfter(delay, std::move(task));
    auto& module = state();
    std::lock_guard lock(module.mutex);
    if (auto& pending = module.*slot) pending->cancel();
    module.*slot = std::move(item);
}

std::vector<Default*> syncedDefaults() {
    std::lock_guard lock(state().mutex);
    return state().syncedDefaults;
}

void setImporting(bool importing) {
    std::lock_guard lock(state().mutex);
    state().isImporting = importing;
}

// Whole seconds, because the user defaults keep dates to the second: the
// stamp read at the next launch then equals the snapshot's.
platform::Date exportTime() {
    return platform::Date{std::floor(platform::Date::now().sinceReferenceDate)};
}

std::optional<std::vector<std::string>> changedKeys(const platform::Notification& notification) {
    auto found = notification.userInfo.find(UbiquitousKeyValueStore::changedKeysKey);
    if (found == notification.userInfo.end()) return std::nullopt;
    if (const auto* keys = std::any_cast<std::vector<std::string>>(&found->second)) return *keys;
    return std::nullopt;
}

void applySnapshot(const Config& config) {
    setImporting(true);
    for (Default* setting : syncedDefaults()) {
        auto found = config.defaults.find(setting->key());
        if (found != config.defaults.end()) setting->update(found->second);
    }
    Defaults::lastCloudSync().setValue(config.timestamp);
    setImporting(false);
}

void importConfig() {
    auto text = Defaults::cloudStore().stringForKey(Defaults::configKey);
    if (!text) return;
    auto config = Config::decode(*text);
    if (!config) {
        Logging::warning("the cloud settings snapshot does not decode; it is ignored");
        return;
    }
    const auto& lastSync = Defaults::lastCloudSync().value();
    if (lastSync && config->timestamp <= *lastSync) {
        Defaults::scheduleCloudUpload();
        return;
    }
    applySnapshot(*config);
}

}  // namespace

StringDefault& Defaults::lastVersion() {
    return lazily(&ModuleState::lastVersion, "lastVersion");
}

OptionalBoolDefault& Defaults::iCloudSync() {
    return lazily(&ModuleState::iCloudSync, "iCloudSync");
}

DateDefault& Defaults::lastCloudSync() {
    return lazily(&ModuleState::lastCloudSync, "lastCloudSync");
}

bool Defaults::cloudSyncAvailable() {
    std::lock_guard lock(state().mutex);
    return state().cloudSyncAvailable;
}

void Defaults::setCloudSyncAvailable(bool available) {
    std::lock_guard lock(state().mutex);
    state().cloudSyncAvailable = available;
}

platform::Subscription Defaults::observe(const std::string& key,
                                         platform::NotificationCenter::Observer handler) {
    announceChanges(key);
    return platform::NotificationCenter::defaultCenter().addObserver(
        key, [generation = state().generation.load(),
              handler = std::move(handler)](const platform::Notification& notification) {
            if (generation == state().generation) handler(notification);
        });
}

void Defaults::announceChanges(const std::string& key) {
    std::lock_guard lock(state().mutex);
    state().observedKeys.insert(key);
}

bool Defaults::isObserved(const std::string& key) {
    std::lock_guard lock(state().mutex);
    return state().observedKeys.contains(key);
}

void Defaults::addSyncedDefault(Default& setting) {
    std::lock_guard lock(state().mutex);
    state().syncedDefaults.push_back(&setting);
}

bool Defaults::isSynced(const std::string& key) {
    std::lock_guard lock(state().mutex);
    return std::ranges::any_of(state().syncedDefaults,
                               [&](const Default* setting) { return setting->key() == key; });
}

bool Defaults::isImporting() {
    std::lock_guard lock(state().mutex);
    return state().isImporting;
}

void Defaults::scheduleCloudUpload() {
    if (isImporting()) return;
    if (!iCloudSync().isUserEnabled() || !cloudSyncAvailable()) return;
    replacePending(&ModuleState::pendingUpload, uploadDelay, [] { exportToCloud(); });
}

void Defaults::exportToCloud() {
    const auto& bundle = platform::Bundle::main();
    auto version = bundle.infoString("CFBundleVersion");
    auto identifier = bundle.bundleIdentifier();
    if (!version || !identifier) return;
    Config config{*identifier, *version, exportTime(), {}};
    for (Default* setting : syncedDefaults()) {
        config.defaults[setting->key()] = setting->toCodable();
    }
    auto text = config.encode();
    if (!text) return;
    cloudStore().setString(configKey, *text);
    lastCloudSync().setValue(config.timestamp);
    cloudStore().synchronize();
}

void Defaults::changesDetected(const platform::Notification& notification) {
    replacePending(&ModuleState::pendingImport, importDelay,
                   [notification] { importFromCloud(notification); });
}

void Defaults::importFromCloud(const platform::Notification& notification) {
    auto keys = changedKeys(notification);
    if (!keys) return;
    // Each listing reads the store afresh: a later one may carry a newer text.
    for (const auto& key : *keys) {
        if (key == configKey) importConfig();
    }
}

UbiquitousKeyValueStore& Defaults::cloudStore() {
    UbiquitousKeyValueStore* store = nullptr;
    {
        std::lock_guard lock(state().mutex);
        store = state().store;
    }
    return store ? *store : UbiquitousKeyValueStore::defaultStore();
}

void Defaults::setCloudStore(UbiquitousKeyValueStore* store) {
    std::lock_guard lock(state().mutex);
    state().store = store;
}

void Defaults::observeCloudStore() {
    auto token = platform::NotificationCenter::defaultCenter().addObserver(
        UbiquitousKeyValueStore::didChangeExternallyNotification,
        [](const platform::Notification& notification) {
            // Another store in the process (another simulated machine) is not ours.
            const auto* sender = std::any_cast<UbiquitousKeyValueStore*>(&notification.object);
            if (sender && *sender != &cloudStore()) return;
            changesDetected(notification);
        });
    std::lock_guard lock(state().mutex);
    state().storeObserver = std::move(token);
}

void Defaults::resetForTesting() {
    auto& module = state();
    std::lock_guard lock(module.mutex);
    if (module.pendingUpload) module.pendingUpload->cancel();
    if (module.pendingImport) module.pendingImport->cancel();
    module.storeObserver.cancel();
    ++module.generation;
    module.observedKeys.clear();
    module.syncedDefaults.clear();
    module.cloudSyncAvailable = false;
    module.isImporting = false;
    module.pendingUpload.reset();
    module.pendingImport.reset();
    module.lastVersion.reset();
    module.iCloudSync.reset();
    module.lastCloudSync.reset();
    module.store = nullptr;
}

}  // namespace zelvana::settings
