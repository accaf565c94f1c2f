#include "Zelvana/Utilities/ZelvanaSymmetric.hpp"

#include <mutex>
#include <optional>

#include "Logging/Logging.hpp"
#include "Zelvana/Utilities/EncryptedStore.hpp"
#include "platform/appkit/Bundle.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::utilities {

namespace {

std::mutex& keyMutex() {
    static std::mutex mutex;
    return mutex;
}

std::optional<platform::SymmetricKey>& cachedKey() {
    static std::optional<platform::SymmetricKey> key;
    return key;
}

platform::SymmetricKey newStoredKey(const std::string& account) {
    platform::SymmetricKey key(platform::SymmetricKey::Size::bits256);
    platform::globalQueue().async([key, account] {
        if (EncryptedStore::storeKey(key, account)) {
            logging::Logging::error("unable to store key");
        }
    });
    return key;
}

}  // namespace

std::string ZelvanaSymmetric::account() {
    return platform::Bundle::main().bundleIdentifier().value_or("Zelvana");
}

ZelvanaSymmetric::KeyResult ZelvanaSymmetric::key() {
    std::lock_guard lock(keyMutex());
    if (cachedKey()) return *cachedKey();
    const std::string owner = account();
    auto read = EncryptedStore::readKey(owner);
    if (auto* error = std::get_if<KeyStoreError>(&read)) return *error;
    auto& found = std::get<std::optional<platform::SymmetricKey>>(read);
    cachedKey() = found ? std::move(*found) : newStoredKey(owner);
    return *cachedKey();
}

void ZelvanaSymmetric::resetForTesting() {
    std::lock_guard lock(keyMutex());
    cachedKey().reset();
}

}  // namespace zelvana::utilities
