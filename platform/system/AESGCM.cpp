#include "platform/system/AESGCM.hpp"

#include <openssl/evp.h>

#include <algorithm>
#include <memory>

namespace zelvana::platform::AESGCM {

namespace {

struct ContextDeleter {
    void operator()(EVP_CIPHER_CTX* context) const { EVP_CIPHER_CTX_free(context); }
};
using Context = std::unique_ptr<EVP_CIPHER_CTX, ContextDeleter>;

const EVP_CIPHER* cipherFor(const SymmetricKey& key) {
    switch (key.bitCount()) {
        case 128:
            return EVP_aes_128_gcm();
        case 192:
            return EVP_aes_192_gcm();
        case 256:
            return EVP_aes_256_gcm();
        default:
            return nullptr;
    }
}

int length(const std::vector<std::uint8_t>& bytes) {
    return static_cast<int>(bytes.size());
}

// Starts a context for the key and nonce and feeds it the authenticated data.
Context start(const EVP_CIPHER* cipher, const SymmetricKey& key, const std::uint8_t* nonce,
              const std::vector<std::uint8_t>& authenticatedData, bool encrypting) {
    Context context(EVP_CIPHER_CTX_new());
    if (!context) return nullptr;
    const auto init = encrypting ? EVP_EncryptInit_ex : EVP_DecryptInit_ex;
    if (init(context.get(), cipher, nullptr, nullptr, nullptr) != 1) return nullptr;
    if (EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_IVLEN, nonceSize, nullptr) != 1) {
        return nullptr;
    }
    if (init(context.get(), nullptr, nullptr, key.rawRepresentation().data(), nonce) != 1) {
        return nullptr;
    }
    int ignored = 0;
    const auto update = encrypting ? EVP_EncryptUpdate : EVP_DecryptUpdate;
    if (!authenticatedData.empty() &&
        update(context.get(), nullptr, &ignored, authenticatedData.data(),
               length(authenticatedData)) != 1) {
        return nullptr;
    }
    return context;
}

}  // namespace

std::vector<std::uint8_t> SealedBox::combined() const {
    std::vector<std::uint8_t> bytes(nonce.begin(), nonce.end());
    bytes.insert(bytes.end(), ciphertext.begin(), ciphertext.end());
    bytes.insert(bytes.end(), tag.begin(), tag.end());
    return bytes;
}

std::optional<SealedBox> SealedBox::fromCombined(const std::vector<std::uint8_t>& combined) {
    if (combined.size() < nonceSize + tagSize) return std::nullopt;
    SealedBox box;
    std::copy_n(combined.begin(), nonceSize, box.nonce.begin());
    box.ciphertext.assign(combined.begin() + nonceSize, combined.end() - tagSize);
    std::copy_n(combined.end() - tagSize, tagSize, box.tag.begin());
    return box;
}

std::variant<SealedBox, CryptoError> seal(const std::vector<std::uint8_t>& plaintext,
                                          const SymmetricKey& key,
                                          const std::vector<std::uint8_t>& authenticatedData) {
    const EVP_CIPHER* cipher = cipherFor(key);
    if (!cipher) return CryptoError::incorrectKeySize;
    SealedBox box;
    const auto nonce = randomBytes(nonceSize);
    std::copy(nonce.begin(), nonce.end(), box.nonce.begin());
    Context context = start(cipher, key, box.nonce.data(), authenticatedData, true);
    if (!context) return CryptoError::cipherFailure;
    box.ciphertext.resize(plaintext.size());
    int written = 0;
    if (!plaintext.empty() && EVP_EncryptUpdate(context.get(), box.ciphertext.data(), &written,
                                                plaintext.data(), length(plaintext)) != 1) {
        return CryptoError::cipherFailure;
    }
    int finished = 0;
    if (EVP_EncryptFinal_ex(context.get(), box.ciphertext.data() + written, &finished) != 1 ||
        EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_GET_TAG, tagSize, box.tag.data()) != 1) {
        return CryptoError::cipherFailure;
    }
    return box;
}

std::variant<std::vector<std::uint8_t>, CryptoError> open(
    const SealedBox& box, const SymmetricKey& key,
    const std::vector<std::uint8_t>& authenticatedData) {
    const EVP_CIPHER* cipher = cipherFor(key);
    if (!cipher) return CryptoError::incorrectKeySize;
    Context context = start(cipher, key, box.nonce.data(), authenticatedData, false);
    if (!context) return CryptoError::cipherFailure;
    std::vector<std::uint8_t> plaintext(box.ciphertext.size());
    int written = 0;
    if (!box.ciphertext.empty() &&
        EVP_DecryptUpdate(context.get(), plaintext.data(), &written, box.ciphertext.data(),
                          length(box.ciphertext)) != 1) {
        return CryptoError::cipherFailure;
    }
    auto tag = box.tag;
    if (EVP_CIPHER_CTX_ctrl(context.get(), EVP_CTRL_GCM_SET_TAG, tagSize, tag.data()) != 1) {
        return CryptoError::cipherFailure;
    }
    int finished = 0;
    if (EVP_DecryptFinal_ex(context.get(), plaintext.data() + written, &finished) != 1) {
        return CryptoError::authenticationFailure;
    }
    return plaintext;
}

}  // namespace zelvana::platform::AESGCM
