#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <variant>

#include "platform/system/SymmetricKey.hpp"

namespace zelvana::utilities {

// Writes and reads the encrypted single-entry archive of the JSON store: one
// entry whose header holds "PAT" (its name), "TYP" (a regular file) and "DAT"
// (a blob of the text's bytes), in an archive compressed and encrypted in
// blocks of 1 MiB under the key. A changed byte anywhere, a cut-short file or
// a wrong key is refused, so a reader never takes damaged data for the stored
// value. Writing goes to a temporary file beside the archive that is renamed
// over it once every stream closed cleanly, so a failed write leaves the
// previous archive whole. Thread-safe for different paths.
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
