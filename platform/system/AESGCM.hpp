#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <variant>
#include <vector>

#include "platform/system/SymmetricKey.hpp"

namespace zelvana::platform {

// Authenticated encryption with AES in Galois/counter mode through OpenSSL, as
// CryptoKit's AES.GCM offers it: a 12-byte random nonce per seal and a 16-byte
// tag that detects any change to the ciphertext or the authenticated data, and
// a wrong key. Keys of 128, 192 or 256 bits. Thread-safe.
namespace AESGCM {

inline constexpr std::size_t nonceSize = 12;
inline constexpr std::size_t tagSize = 16;

struct SealedBox {
    std::array<std::uint8_t, nonceSize> nonce{};
    std::vector<std::uint8_t> ciphertext;
    std::array<std::uint8_t, tagSize> tag{};

    // nonce, ciphertext, tag.
    std::vector<std::uint8_t> combined() const;
    // Absent when the bytes are too short to hold a nonce and a tag.
    static std::optional<SealedBox> fromCombined(const std::vector<std::uint8_t>& combined);
};

enum class CryptoError {
    incorrectKeySize,
    // The tag does not match: the data was changed or the key is not the one it was sealed with.
    authenticationFailure,
    // The library refused the operation.
    cipherFailure,
};

std::variant<SealedBox, CryptoError> seal(const std::vector<std::uint8_t>& plaintext,
                                          const SymmetricKey& key,
                                          const std::vector<std::uint8_t>& authenticatedData = {});
std::variant<std::vector<std::uint8_t>, CryptoError> open(
    const SealedBox& box, const SymmetricKey& key,
    const std::vector<std::uint8_t>& authenticatedData = {});

}  // namespace AESGCM

}  // namespace zelvana::platform
