#include "Zelvana/Utilities/EncryptedStore.hpp"

#include "platform/system/Keychain.hpp"

namespace zelvana::utilities {

namespace {

using platform::Keychain;

// The system's sentence for the status, else the status in decimal.
std::string reasonFor(platform::OSStatus status) {
    return Keychain::errorMessage(status).value_or(std::to_string(status));
}

}  // namespace

EncryptedStore::ReadResult EncryptedStore::readKey(const std::string& account) {
    std::vector<std::uint8_t> data;
    const auto status = Keychain::copyData(account, data);
    if (status == platform::KeychainStatus::itemNotFound) {
        return std::optional<platform::SymmetricKey>{};
    }
    if (status != platform::KeychainStatus::success) {
        return KeyStoreError{"Keychain read failed: " + reasonFor(status)};
    }
    // A damaged item is no reason to make a key that would replace it.
    if (data.size() != 32) {
        return KeyStoreError{"Keychain read failed: the item holds " + std::to_string(data.size()) +
                             " bytes, not a 256-bit key"};
    }
    return std::optional<platform::SymmetricKey>(platform::SymmetricKey(std::move(data)));
}

std::optional<KeyStoreError> EncryptedStore::storeKey(const platform::SymmetricKey& key,
                                                      const std::string& account) {
    const auto status = Keychain::add(
        {account, platform::KeychainAccessibility::whenUnlocked, key.rawRepresentation()});
    if (status == platform::KeychainStatus::success) return std::nullopt;
    return KeyStoreError{"Unable to store item: " + reasonFor(status)};
}

}  // namespace zelvana::utilities
