#include "platform/system/ArchiveEncryption.hpp"

#include <openssl/core_names.h>
#include <openssl/crypto.h>
#include <openssl/evp.h>
#include <openssl/kdf.h>
#include <zstd.h>

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <optional>

#include "platform/foundation/BigEndian.hpp"

namespace zelvana::platform {

namespace {

using Key = EncryptionOutputStream::Key;

// The prologue: magic, profile, compression, block size, salt, then its MAC.
constexpr std::string_view kMagic = "ZVAE";
constexpr std::size_t kSaltSize = 32;
constexpr std::size_t kMacSize = 32;
constexpr std::size_t kSealedPrologueSize = kMagic.size() + 1 + 1 + 4 + kSaltSize;
constexpr std::size_t kPrologueSize = kSealedPrologueSize + kMacSize;
// A block: flags, its size before and after compression, the data, then its MAC.
constexpr std::size_t kBlockHeadSize = 1 + 4 + 4;
constexpr std::uint8_t kLastBlock = 1;
constexpr std::size_t kLargestBlock = std::size_t{64} << 20;
constexpr std::string_view kKeyInfo = "ZVAE keys";

template <class T, void (*Free)(T*)>
struct Deleter {
    void operator()(T* pointer) const { Free(pointer); }
};
using KdfContext = std::unique_ptr<EVP_KDF_CTX, Deleter<EVP_KDF_CTX, EVP_KDF_CTX_free>>;
using MacContext = std::unique_ptr<EVP_MAC_CTX, Deleter<EVP_MAC_CTX, EVP_MAC_CTX_free>>;
using CipherContext = std::unique_ptr<EVP_CIPHER_CTX, Deleter<EVP_CIPHER_CTX, EVP_CIPHER_CTX_free>>;

const unsigned char* bytesOf(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

OSSL_PARAM octets(const char* name, std::string_view bytes) {
    return OSSL_PARAM_construct_octet_string(name, const_cast<unsigned char*>(bytesOf(bytes)),
                                             bytes.size());
}

OSSL_PARAM sha256() {
    static char digest[] = "SHA256";
    return OSSL_PARAM_construct_utf8_string(OSSL_KDF_PARAM_DIGEST, digest, 0);
}

// The cipher key, then the MAC key, derived from the key and the archive's salt.
std::optional<std::pair<Key, Key>> deriveKeys(const SymmetricKey& key, std::string_view salt) {
    EVP_KDF* hkdf = EVP_KDF_fetch(nullptr, "HKDF", nullptr);
    KdfContext context(hkdf ? EVP_KDF_CTX_new(hkdf) : nullptr);
    EVP_KDF_free(hkdf);
    if (!context) return std::nullopt;
    const auto& raw = key.rawRepresentation();
    const OSSL_PARAM parameters[] = {
        sha256(),
        octets(OSSL_KDF_PARAM_KEY, {reinterpret_cast<const char*>(raw.data()), raw.size()}),
        octets(OSSL_KDF_PARAM_SALT, salt),
        octets(OSSL_KDF_PARAM_INFO, kKeyInfo),
        OSSL_PARAM_construct_end(),
    };
    std::array<std::uint8_t, 64> derived{};
    if (EVP_KDF_derive(context.get(), derived.data(), derived.size(), parameters) != 1) {
        return std::nullopt;
    }
    std::pair<Key, Key> keys;
    std::copy_n(derived.begin(), 32, keys.first.begin());
    std::copy_n(derived.begin() + 32, 32, keys.second.begin());
    OPENSSL_cleanse(derived.data(), derived.size());
    return keys;
}

// HMAC-SHA256 of the parts one after another.
std::optional<std::string> mac(const Key& key, std::initializer_list<std::string_view> parts) {
    EVP_MAC* hmac = EVP_MAC_fetch(nullptr, "HMAC", nullptr);
    MacContext context(hmac ? EVP_MAC_CTX_new(hmac) : nullptr);
    EVP_MAC_free(hmac);
    const OSSL_PARAM parameters[] = {sha256(), OSSL_PARAM_construct_end()};
    if (!context || EVP_MAC_init(context.get(), key.data(), key.size(), parameters) != 1) {
        return std::nullopt;
    }
    for (std::string_view part : parts) {
        if (EVP_MAC_update(context.get(), bytesOf(part), part.size()) != 1) return std::nullopt;
    }
    std::string result(kMacSize, '\0');
    std::size_t length = 0;
    if (EVP_MAC_final(context.get(), reinterpret_cast<unsigned char*>(result.data()), &length,
                      result.size()) != 1 ||
        length != kMacSize) {
        return std::nullopt;
    }
    return result;
}

bool sameMac(const std::optional<std::string>& computed, std::string_view stored) {
    return computed && CRYPTO_memcmp(computed->data(), stored.data(), kMacSize) == 0;
}

// AES-256-CTR in place; block n counts from n << 64, so no two blocks share a counter.
bool applyCipher(const Key& key, std::uint64_t blockIndex, std::string& data) {
    std::string counter;
    bigEndian::append(counter, blockIndex, 8);
    counter.append(8, '\0');
    CipherContext context(EVP_CIPHER_CTX_new());
    int written = 0;
    auto* bytes = reinterpret_cast<unsigned char*>(data.data());
    return context &&
           EVP_EncryptInit_ex(context.get(), EVP_aes_256_ctr(), nullptr, key.data(),
                              bytesOf(counter)) == 1 &&
           (data.empty() || EVP_EncryptUpdate(context.get(), bytes, &written, bytes,
                                              static_cast<int>(data.size())) == 1);
}

// The block compressed, or as it is when that is no smaller.
std::string compressed(std::string_view plain) {
    std::string result(ZSTD_compressBound(plain.size()), '\0');
    const std::size_t size =
        ZSTD_compress(result.data(), result.size(), plain.data(), plain.size(), 3);
    if (ZSTD_isError(size) || size >= plain.size()) return std::string(plain);
    result.resize(size);
    return result;
}

std::optional<std::string> decompressed(std::string_view stored, std::size_t plainSize) {
    if (stored.size() == plainSize) return std::string(stored);
    std::string plain(plainSize, '\0');
    const std::size_t size =
        ZSTD_decompress(plain.data(), plain.size(), stored.data(), stored.size());
    if (ZSTD_isError(size) || size != plainSize) return std::nullopt;
    return plain;
}

}  // namespace

std::unique_ptr<EncryptionOutputStream> EncryptionOutputStream::open(
    OutputByteStream& destination, const ArchiveEncryptionContext& context) {
    const std::size_t blockSize = context.compressionBlockSize;
    if (context.symmetricKey.bitCount() != 256 || blockSize == 0 || blockSize > kLargestBlock) {
        return nullptr;
    }
    const auto salt = randomBytes(kSaltSize);
    std::string prologue(kMagic);
    prologue.push_back(static_cast<char>(context.profile));
    prologue.push_back(static_cast<char>(context.compression));
    bigEndian::append(prologue, blockSize, 4);
    prologue.append(salt.begin(), salt.end());
    const auto keys = deriveKeys(context.symmetricKey,
                                 std::string_view(prologue).substr(prologue.size() - kSaltSize));
    if (!keys) return nullptr;
    const auto prologueMac = mac(keys->second, {prologue});
    if (!prologueMac || !destination.write(prologue + *prologueMac)) return nullptr;
    return std::unique_ptr<EncryptionOutputStream>(
        new EncryptionOutputStream(destination, context, keys->first, keys->second));
}

EncryptionOutputStream::EncryptionOutputStream(OutputByteStream& destination,
                                               const ArchiveEncryptionContext& context,
                                               const Key& cipherKey, const Key& macKey)
    : destination_(destination),
      cipherKey_(cipherKey),
      macKey_(macKey),
      blockSize_(context.compressionBlockSize) {}

EncryptionOutputStream::~EncryptionOutputStream() {
    OPENSSL_cleanse(cipherKey_.data(), cipherKey_.size());
    OPENSSL_cleanse(macKey_.data(), macKey_.size());
}

bool EncryptionOutputStream::fail() {
    failed_ = true;
    return false;
}

bool EncryptionOutputStream::write(std::string_view bytes) {
    if (failed_ || closed_) return fail();
    pending_.append(bytes);
    // One block always stays behind, to be flagged the last one on closing.
    std::size_t sealed = 0;
    while (pending_.size() - sealed > blockSize_) {
        const auto block = std::string_view(pending_).substr(sealed, blockSize_);
        if (!sealBlock(block, BlockPlace::inner)) return fail();
        sealed += blockSize_;
    }
    pending_.erase(0, sealed);
    return true;
}

bool EncryptionOutputStream::close() {
    if (closed_) return !failed_;
    closed_ = true;
    if (failed_ || !sealBlock(pending_, BlockPlace::last)) return fail();
    pending_.clear();
    return true;
}

bool EncryptionOutputStream::sealBlock(std::string_view plain, BlockPlace place) {
    std::string stored = compressed(plain);
    std::string head(1, static_cast<char>(place == BlockPlace::last ? kLastBlock : 0));
    bigEndian::append(head, plain.size(), 4);
    bigEndian::append(head, stored.size(), 4);
    std::string index;
    bigEndian::append(index, blockIndex_, 8);
    if (!applyCipher(cipherKey_, blockIndex_, stored)) return false;
    const auto blockMac = mac(macKey_, {index, head, stored});
    if (!blockMac) return false;
    ++blockIndex_;
    return destination_.write(head + stored + *blockMac);
}

std::variant<DecryptedArchive, ArchiveDecryptionError> decryptArchive(std::string_view archive,
                                                                      const SymmetricKey& key) {
    using Error = ArchiveDecryptionError;
    std::string start(kMagic);
    start.push_back(static_cast<char>(ArchiveProfile::hkdfSha256AesctrHmacSymmetricNone));
    start.push_back(static_cast<char>(ArchiveCompression::zstd));
    if (!std::string_view(start).starts_with(archive.substr(0, start.size()))) {
        return Error::notAnArchive;
    }
    if (archive.size() < kPrologueSize) return Error::cutShort;
    if (key.bitCount() != 256) return Error::authenticationFailure;
    const auto keys = deriveKeys(key, archive.substr(kSealedPrologueSize - kSaltSize, kSaltSize));
    if (!keys || !sameMac(mac(keys->second, {archive.substr(0, kSealedPrologueSize)}),
                          archive.substr(kSealedPrologueSize, kMacSize))) {
        return Error::authenticationFailure;
    }
    const std::size_t blockSize = bigEndian::read(archive, kMagic.size() + 2, 4);
    if (blockSize == 0 || blockSize > kLargestBlock) return Error::malformed;

    DecryptedArchive result{ArchiveProfile::hkdfSha256AesctrHmacSymmetricNone,
                            ArchiveCompression::zstd,
                            blockSize,
                            0,
                            {}};
    std::size_t at = kPrologueSize;
    for (std::uint64_t index = 0;; ++index) {
        const std::string_view rest = archive.substr(at);
        if (rest.size() < kBlockHeadSize) return Error::cutShort;
        const std::size_t plainSize = bigEndian::read(rest, 1, 4);
        const std::size_t storedSize = bigEndian::read(rest, 5, 4);
        if (rest.size() - kBlockHeadSize < storedSize + kMacSize) return Error::cutShort;
        std::string stored(rest.substr(kBlockHeadSize, storedSize));
        std::string indexBytes;
        bigEndian::append(indexBytes, index, 8);
        if (!sameMac(mac(keys->second, {indexBytes, rest.substr(0, kBlockHeadSize), stored}),
                     rest.substr(kBlockHeadSize + storedSize, kMacSize))) {
            return Error::authenticationFailure;
        }
        const auto flags = static_cast<std::uint8_t>(rest[0]);
        const bool last = flags == kLastBlock;
        if ((flags & ~kLastBlock) != 0 || plainSize > blockSize || storedSize > plainSize ||
            (!last && plainSize != blockSize) || !applyCipher(keys->first, index, stored)) {
            return Error::malformed;
        }
        const auto block = decompressed(stored, plainSize);
        if (!block) return Error::malformed;
        result.bytes += *block;
        result.blockCount = index + 1;
        at += kBlockHeadSize + storedSize + kMacSize;
        if (!last) continue;
        if (at != archive.size()) return Error::malformed;
        return result;
    }
}

}  // namespace zelvana::platform
