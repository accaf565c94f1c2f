#pragma once

#include <string>
#include <variant>

#include "Zelvana/Utilities/KeyStoreError.hpp"
#include "platform/system/SymmetricKey.hpp"

namespace zelvana::utilities {

// The application's one symmetric key for its encrypted stores, kept in the
// keychain under the main bundle's identifier. Thread-safe.
class ZelvanaSymmetric {
public:
    using KeyResult = std::variant<platform::SymmetricKey, KeyStoreError>;

    ZelvanaSymmetric() = delete;

    // The keychain's key, or a new random 256-bit one that is added to the
    // keychain in the background (a failure there is logged as "unable to
    // store key"; the key then serves this run only). Kept for the process
    // once found or made. A keychain that cannot be read is reported and no
    // key is made, so data under the stored key is never orphaned; the next
    // call asks the keychain again.
    static KeyResult key();
    // The main bundle's identifier, else "Zelvana".
    static std::string account();

    static void resetForTesting();
};

}  // namespace zelvana::utilities
