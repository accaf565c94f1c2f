#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <variant>

#include "platform/system/SymmetricKey.hpp"

namespace zelvana::utilities {

// Writes and reads the encrypted single-entry archive of the JSON store. Our own
// container, version 1, all integers big-endian:
//
//   "ZVEA"        4 bytes
//   version       1 byte (1)
//   nonce         12 bytes
//   ciphertext    AES-256-GCM of the entry; the 5 bytes above are authenticated too
//   tag           16 bytes
//
//   entry = name length (2 bytes), name (UTF-8), data (the rest: the text's UTF-8 bytes)
//
// A changed byte anywhere, a truncated file or a wrong key fails the tag, so a
// reader never takes damaged data for the stored value. Writing goes to a
// temporary file beside the archive that is synced and renamed over it, so a
// failed write leaves the previous archive whole. Thread-safe for different paths.
class StringEncryptionDecryption {
public:
    enum class Error {
        unableToCreateDecodeStream,
        unableToGetHeaderField,
        zeroDataSize,
        unableToCreateFileStream,
        unableToCreateEncryptionStream,
        unableToCreateDecryptionContext,
        unableToWriteFile,
    };
    struct Failure {
        Error error;
        std::string reason;
    };
    struct Entry {
        std::string name;
        std::string text;
    };

    static constexpr std::uint8_t version = 1;

    StringEncryptionDecryption() = delete;

    // Replaces the archive at `path` with one entry named `entryName` holding `text`;
    // empty text is refused (zeroDataSize), as no reader would take it back.
    static std::optional<Failure> encrypt(const std::string& text,
                                          const platform::SymmetricKey& key,
                                          const std::string& entryName,
                                          const std::filesystem::path& path);
    // The entry of the archive at `path`.
    static std::variant<Entry, Failure> decrypt(const platform::SymmetricKey& key,
                                                const std::filesystem::path& path);
    // "unableToCreateDecodeStream", ...
    static const char* name(Error error);
};

}  // namespace zelvana::utilities
