#include "platform/testing/EncryptedArchive.hpp"

#include <fstream>
#include <iterator>

namespace zelvana::platform::testing {

ArchiveReading readEncryptedArchive(const std::filesystem::path& path, const SymmetricKey& key) {
    std::ifstream file(path, std::ios::binary);
    if (!file) return ArchiveDecryptionError::notAnArchive;
    const std::string bytes{std::istreambuf_iterator<char>(file), {}};
    auto decrypted = decryptArchive(bytes, key);
    if (const auto* error = std::get_if<ArchiveDecryptionError>(&decrypted)) return *error;
    ArchiveContents contents{std::get<DecryptedArchive>(std::move(decrypted)), {}};
    auto decoded = decodeArchive(contents.sealing.bytes);
    if (const auto* error = std::get_if<ArchiveDecodingError>(&decoded)) return *error;
    contents.entries = std::get<std::vector<ArchiveEntry>>(std::move(decoded));
    return contents;
}

}  // namespace zelvana::platform::testing
