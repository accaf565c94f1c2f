#pragma once

#include <concepts>
#include <cstdint>
#include <string>
#include <vector>

namespace zelvana::utilities {

// A key that can be kept as a generic password: made from raw bytes and giving them back.
template <class Key>
concept GenericPasswordConvertible = requires(const Key& key, std::vector<std::uint8_t> bytes) {
    { key.rawRepresentation() } -> std::convertible_to<const std::vector<std::uint8_t>&>;
    Key(bytes);
};

// "Key representation contains 32 bytes."
template <GenericPasswordConvertible Key>
std::string keyDescription(const Key& key) {
    return "Key representation contains " + std::to_string(key.rawRepresentation().size()) +
           " bytes.";
}

}  // namespace zelvana::utilities
