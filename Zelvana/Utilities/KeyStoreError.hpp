#pragma once

#include <string>

namespace zelvana::utilities {

// A failure of the keychain; its description is the message itself.
struct KeyStoreError {
    std::string message;

    const std::string& description() const { return message; }
    bool operator==(const KeyStoreError&) const = default;
};

}  // namespace zelvana::utilities
