#pragma once

#include <filesystem>
#include <variant>
#include <vector>

#include "platform/system/ArchiveEncryption.hpp"
#include "platform/system/ArchiveStream.hpp"

namespace zelvana::platform::testing {

// An encrypted archive read back for a test: how it was sealed, and its entries.
struct ArchiveContents {
    DecryptedArchive sealing;
    std::vector<ArchiveEntry> entries;
};

using ArchiveReading = std::variant<ArchiveContents, ArchiveDecryptionError, ArchiveDecodingError>;

// The archive at `path` opened with `key` (every HMAC checked) and decoded; the
// error of the step that refused it otherwise. A file that cannot be read is
// not an archive.
ArchiveReading readEncryptedArchive(const std::filesystem::path& path, const SymmetricKey& key);

}  // namespace zelvana::platform::testing
