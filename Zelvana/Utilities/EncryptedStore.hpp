#pragma once

#include <optional>
#include <string>
#include <variant>

#include "Zelvana/Utilities/KeyStoreError.hpp"
#include "platform/system/SymmetricKey.hpp"

namespace zelvana::utilities {

// The store's key in the user's keychain, as a generic password under an
// account. Thread-safe.
class EncryptedStore {
public:
    // No key when the keychain has no item for the account.
    using ReadResult = std::variant<std::optional<platform::SymmetricKey>, KeyStoreError>;

    EncryptedStore() = delete;

    // Fails with "Keychain read failed: " and the reason for every failure
    // but a missing item, also for an item that holds no 256-bit key.
    static ReadResult readKey(const std::string& account);
    // Adds the key, accessible when the device is unlocked; an existing item
    // is left as it is and makes the add fail with "Unable to store item: ".
    static std::optional<KeyStoreError> storeKey(const platform::SymmetricKey& key,
                                                 const std::string& account);
};

}  // namespace zelvana::utilities
