#include "platform/system/SymmetricKey.hpp"

#include <openssl/crypto.h>
#include <openssl/rand.h>

#include <cstdio>
#include <cstdlib>

namespace zelvana::platform {

std::vector<std::uint8_t> randomBytes(std::size_t count) {
    std::vector<std::uint8_t> bytes(count);
    if (count > 0 && RAND_bytes(bytes.data(), static_cast<int>(count)) != 1) {
        // A key from a failed generator would be guessable: nothing may go on.
        std::fputs("the random number generator failed\n", stderr);
        std::abort();
    }
    return bytes;
}

SymmetricKey::SymmetricKey(Size size) : bytes_(randomBytes(static_cast<std::size_t>(size) / 8)) {}

SymmetricKey::SymmetricKey(std::vector<std::uint8_t> rawRepresentation)
    : bytes_(std::move(rawRepresentation)) {}

SymmetricKey::~SymmetricKey() {
    if (!bytes_.empty()) OPENSSL_cleanse(bytes_.data(), bytes_.size());
}

}  // namespace zelvana::platform
