#include "platform/system/AESGCM.hpp"

#include <gtest/gtest.h>

namespace zelvana::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

const Bytes kMessage{'s', 'e', 'c', 'r', 'e', 't'};
const Bytes kHeader{'Z', 1};

AESGCM::SealedBox sealed(const SymmetricKey& key) {
    return std::get<AESGCM::SealedBox>(AESGCM::seal(kMessage, key, kHeader));
}

TEST(AESGCM, OpensWhatItSealedAndCombinesNonceCiphertextAndTag) {
    const SymmetricKey key(SymmetricKey::Size::bits256);
    EXPECT_EQ(key.rawRepresentation().size(), 32u);
    const auto box = sealed(key);
    const auto combined = box.combined();
    EXPECT_EQ(combined.size(), 12u + kMessage.size() + 16u);
    const auto again = AESGCM::SealedBox::fromCombined(combined);
    ASSERT_TRUE(again);
    EXPECT_EQ(std::get<Bytes>(AESGCM::open(*again, key, kHeader)), kMessage);
    EXPECT_NE(sealed(key).nonce, box.nonce);
    EXPECT_FALSE(AESGCM::SealedBox::fromCombined(Bytes(27, 0)));
}

TEST(AESGCM, DetectsTamperingAndTheWrongKey) {
    const SymmetricKey key(SymmetricKey::Size::bits256);
    auto changedText = sealed(key);
    changedText.ciphertext[0] ^= 1;
    auto changedTag = sealed(key);
    changedTag.tag[15] ^= 0x80;
    const auto failure = AESGCM::CryptoError::authenticationFailure;
    EXPECT_EQ(std::get<AESGCM::CryptoError>(AESGCM::open(changedText, key, kHeader)), failure);
    EXPECT_EQ(std::get<AESGCM::CryptoError>(AESGCM::open(changedTag, key, kHeader)), failure);
    EXPECT_EQ(std::get<AESGCM::CryptoError>(AESGCM::open(sealed(key), key, Bytes{'Z', 2})),
              failure);
    EXPECT_EQ(std::get<AESGCM::CryptoError>(
                  AESGCM::open(sealed(key), SymmetricKey(SymmetricKey::Size::bits256), kHeader)),
              failure);
}

TEST(AESGCM, RefusesKeysOfOtherSizes) {
    EXPECT_EQ(std::get<AESGCM::CryptoError>(AESGCM::seal(kMessage, SymmetricKey(Bytes(31, 7)))),
              AESGCM::CryptoError::incorrectKeySize);
    EXPECT_TRUE(std::holds_alternative<AESGCM::SealedBox>(
        AESGCM::seal({}, SymmetricKey(SymmetricKey::Size::bits128))));
}

}  // namespace
}  // namespace zelvana::platform
