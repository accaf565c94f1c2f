#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace zelvana::platform {

// A symmetric key as raw bytes, as CryptoKit holds one. Random keys come from
// OpenSSL's generator; the bytes are wiped when the key goes away. A value
// type, safe to share between threads once made.
class SymmetricKey {
public:
    enum class Size { bits128 = 128, bits192 = 192, bits256 = 256 };

    // A fresh random key of that size.
    explicit SymmetricKey(Size size);
    // A key from raw bytes of any length (the cipher decides what it takes).
    explicit SymmetricKey(std::vector<std::uint8_t> rawRepresentation);
    ~SymmetricKey();
    SymmetricKey(const SymmetricKey&) = default;
    SymmetricKey& operator=(const SymmetricKey&) = default;
    SymmetricKey(SymmetricKey&&) = default;
    SymmetricKey& operator=(SymmetricKey&&) = default;

    const std::vector<std::uint8_t>& rawRepresentation() const { return bytes_; }
    std::size_t bitCount() const { return bytes_.size() * 8; }

    bool operator==(const SymmetricKey&) const = default;

private:
    std::vector<std::uint8_t> bytes_;
};

// Random bytes from OpenSSL's generator.
std::vector<std::uint8_t> randomBytes(std::size_t count);

}  // namespace zelvana::platform
