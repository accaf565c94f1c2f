#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <variant>

#include "platform/system/ByteStream.hpp"
#include "platform/system/SymmetricKey.hpp"

namespace zelvana::platform {

// How an encrypted archive is sealed. The one profile: keys derived by
// HKDF-SHA256 from a symmetric key, AES-256 in counter mode, HMAC-SHA256
// authentication, no signature.
enum class ArchiveProfile : std::uint8_t {
    hkdfSha256AesctrHmacSymmetricNone = 1,
};

// How its blocks are compressed: Zstandard stands in for LZFSE, which has no
// library here. A block that would not shrink is stored as it is.
enum class ArchiveCompression : std::uint8_t {
    zstd = 1,
};

struct ArchiveEncryptionContext {
    ArchiveProfile profile = ArchiveProfile::hkdfSha256AesctrHmacSymmetricNone;
    ArchiveCompression compression = ArchiveCompression::zstd;
    // The bytes each block holds before compression.
    std::size_t compressionBlockSize = 0;
    // The profile takes a 256-bit key.
    SymmetricKey symmetricKey;
};

// Compresses, encrypts and authenticates what is written to it, block by block,
// into the destination. Every block carries its own MAC over its place in the
// stream, and the last one says it is the last, so a changed, moved or missing
// block is found on reading. One thread.
class EncryptionOutputStream final : public OutputByteStream {
public:
    // Null when the context cannot seal (a key that is not 256 bits, a block
    // size of 0 or over 64 MiB) or the destination refuses the stream's prologue.
    // The destination outlives the stream: its owner closes it after the stream.
    static std::unique_ptr<EncryptionOutputStream> open(OutputByteStream& destination,
                                                        const ArchiveEncryptionContext& context);
    ~EncryptionOutputStream() override;

    bool write(std::string_view bytes) override;
    // Seals the last block; the destination stays open.
    bool close() override;

    using Key = std::array<std::uint8_t, 32>;

private:
    EncryptionOutputStream(OutputByteStream& destination, const ArchiveEncryptionContext& context,
                           const Key& cipherKey, const Key& macKey);
    // Whether a block is flagged as the archive's last.
    enum class BlockPlace : std::uint8_t { inner, last };
    bool sealBlock(std::string_view plain, BlockPlace place);
    bool fail();

    OutputByteStream& destination_;
    // Derived from the context's key and this stream's salt.
    Key cipherKey_;
    Key macKey_;
    std::size_t blockSize_;
    std::string pending_;
    std::uint64_t blockIndex_ = 0;
    bool failed_ = false;
    bool closed_ = false;
};

enum class ArchiveDecryptionError {
    // Not an encrypted archive, or one of a profile or compression we do not know.
    notAnArchive,
    // It ends before its last block.
    cutShort,
    // A MAC does not match: bytes were changed or moved, or the key is not its key.
    authenticationFailure,
    // Authenticated but not as a writer leaves it: a block that does not
    // decompress to its size, or bytes after the last block.
    malformed,
};

// What an encrypted archive holds: how it was sealed, and the bytes sealed into it.
struct DecryptedArchive {
    ArchiveProfile profile;
    ArchiveCompression compression;
    std::size_t compressionBlockSize = 0;
    std::size_t blockCount = 0;
    std::string bytes;
};

// An encrypted archive opened with the key, every MAC checked before its block is used.
std::variant<DecryptedArchive, ArchiveDecryptionError> decryptArchive(std::string_view archive,
                                                                      const SymmetricKey& key);

}  // namespace zelvana::platform
