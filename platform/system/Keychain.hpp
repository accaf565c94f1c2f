#pragma once

#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace zelvana::platform {

// A result code of the keychain services, with the system's values.
using OSStatus = std::int32_t;

namespace KeychainStatus {
inline constexpr OSStatus success = 0;
inline constexpr OSStatus io = -36;
inline constexpr OSStatus param = -50;
inline constexpr OSStatus notAvailable = -25291;
inline constexpr OSStatus duplicateItem = -25299;
inline constexpr OSStatus itemNotFound = -25300;
inline constexpr OSStatus interactionNotAllowed = -25308;
inline constexpr OSStatus decode = -26275;
}  // namespace KeychainStatus

// When an item may be read; there is no device lock here, so every item reads.
enum class KeychainAccessibility { whenUnlocked, afterFirstUnlock };

// A generic-password item.
struct GenericPassword {
    std::string account;
    KeychainAccessibility accessible = KeychainAccessibility::whenUnlocked;
    std::vector<std::uint8_t> data;
};

// The user's keychain of generic passwords, kept in one property-list file
// readable only by its owner (mode 0600, in a folder of mode 0700):
// $XDG_DATA_HOME/zelvana/Keychains/login.keychain. Items are added, never
// changed in place; a missing file is an empty keychain, an unreadable or
// corrupt one an error. Thread-safe; adds from several processes are
// serialised by a lock file.
class Keychain {
public:
    enum class Operation { add, copyMatching };
    // Answers a status to make the operation fail with it, or nothing.
    using FailureInjector = std::function<std::optional<OSStatus>(Operation operation)>;

    Keychain() = delete;

    // SecItemAdd: duplicateItem when the account already has an item.
    static OSStatus add(const GenericPassword& item);
    // SecItemCopyMatching for the item's data: itemNotFound when there is
    // none, io or decode when the keychain cannot be read.
    static OSStatus copyData(const std::string& account, std::vector<std::uint8_t>& data);
    // SecCopyErrorMessageString: the system's sentence for a status, none for
    // a status it does not know.
    static std::optional<std::string> errorMessage(OSStatus status);

    static std::optional<std::filesystem::path> location();
    // An empty injector lets every operation run.
    static void setFailureInjectorForTesting(FailureInjector injector);
};

}  // namespace zelvana::platform
