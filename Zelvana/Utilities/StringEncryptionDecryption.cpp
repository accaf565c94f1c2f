#include "Zelvana/Utilities/StringEncryptionDecryption.hpp"

#include <unistd.h>

#include <cstdio>

#include "platform/foundation/FileManager.hpp"
#include "platform/system/ArchiveEncryption.hpp"
#include "platform/system/ArchiveStream.hpp"

namespace zelvana::utilities {

namespace {

namespace fs = std::filesystem;
using Error = StringEncryptionDecryption::Error;
using platform::ArchiveEntryType;

constexpr std::size_t kCompressionBlockSize = 1'048'576;

StringEncryptionDecryption::Failure failure(Error error, std::string reason) {
    return {error, std::move(reason)};
}

platform::ArchiveHeader entryHeader(const std::string& name, std::size_t textSize) {
    platform::ArchiveHeader header;
    header.appendString("PAT", name);
    header.appendUInt("TYP", static_cast<std::uint64_t>(ArchiveEntryType::regularFile));
    header.appendBlob("DAT", textSize);
    return header;
}

// The archive is written beside its path and renamed over it once whole.
std::optional<StringEncryptionDecryption::Failure> replaceWith(const fs::path& temporary,
                                                               const fs::path& path) {
    if (std::rename(temporary.c_str(), path.c_str()) == 0) return std::nullopt;
    std::remove(temporary.c_str());
    return failure(Error::unableToWriteFile, "could not replace '" + path.string() + "'");
}

std::string reasonFor(platform::ArchiveDecryptionError error) {
    switch (error) {
        case platform::ArchiveDecryptionError::notAnArchive:
            return "not an encrypted archive";
        case platform::ArchiveDecryptionError::cutShort:
            return "the archive is cut short";
        case platform::ArchiveDecryptionError::authenticationFailure:
            return "the archive was changed or the key is not its key";
        case platform::ArchiveDecryptionError::malformed:
            return "the archive's blocks are malformed";
    }
    return "unknown";
}

std::variant<StringEncryptionDecryption::Entry, StringEncryptionDecryption::Failure> entryOf(
    const std::vector<platform::ArchiveEntry>& entries) {
    if (entries.size() != 1) {
        return failure(Error::unableToGetHeaderField,
                       "the archive holds " + std::to_string(entries.size()) + " entries");
    }
    const platform::ArchiveEntry& entry = entries.front();
    const auto* path = entry.header.field("PAT");
    const auto* type = entry.header.field("TYP");
    const std::string* text = entry.blob("DAT");
    if (!path || !std::holds_alternative<std::string>(path->value) || !type ||
        type->value != platform::ArchiveFieldValue(
                           static_cast<std::uint64_t>(ArchiveEntryType::regularFile)) ||
        !text) {
        return failure(Error::unableToGetHeaderField, "the entry is not a file with data");
    }
    if (text->empty()) return failure(Error::zeroDataSize, "the entry holds no data");
    return StringEncryptionDecryption::Entry{std::get<std::string>(path->value), *text};
}

}  // namespace

std::optional<StringEncryptionDecryption::Failure> StringEncryptionDecryption::encrypt(
    const std::string& text, const platform::SymmetricKey& key, const std::string& entryName,
    const fs::path& path) {
    // Reading refuses an entry without data, so it is never written.
    if (text.empty()) return failure(Error::zeroDataSize, "the entry holds no data");
    const auto header = entryHeader(entryName, text.size());
    if (!platform::ArchiveEncoder::fits(header)) {
        return failure(Error::unableToWriteFile, "the entry's header does not fit");
    }
    const platform::ArchiveEncryptionContext context{
        platform::ArchiveProfile::hkdfSha256AesctrHmacSymmetricNone,
        platform::ArchiveCompression::zstd, kCompressionBlockSize, key};
    using platform::FileOpenOption;
    const fs::path temporary = path.string() + "." + std::to_string(::getpid()) + ".partial";
    std::string reason;
    auto file = platform::FileOutputStream::open(
        temporary, FileOpenOption::write | FileOpenOption::create | FileOpenOption::truncate, 0644,
        &reason);
    if (!file) return failure(Error::unableToCreateFileStream, reason);
    auto encryption = platform::EncryptionOutputStream::open(*file, context);
    if (!encryption) {
        file->close();
        std::remove(temporary.c_str());
        return failure(Error::unableToCreateEncryptionStream,
                       "could not open an encryption stream with the key");
    }
    platform::ArchiveEncoder encoder(*encryption);
    const bool written = encoder.writeHeader(header) && encoder.writeBlob("DAT", text);
    // Every stream is closed, the encoder first, whatever was written.
    const bool encoderClosed = encoder.close();
    const bool encryptionClosed = encryption->close();
    const bool fileClosed = file->close();
    if (written && encoderClosed && encryptionClosed && fileClosed) {
        return replaceWith(temporary, path);
    }
    std::remove(temporary.c_str());
    return failure(Error::unableToWriteFile, "could not write '" + temporary.string() + "'");
}

std::variant<StringEncryptionDecryption::Entry, StringEncryptionDecryption::Failure>
StringEncryptionDecryption::decrypt(const platform::SymmetricKey& key, const fs::path& path) {
    std::string reason;
    const auto contents = platform::FileManager::defaultManager().contentsAtPath(path, &reason);
    if (!contents) return failure(Error::unableToCreateFileStream, reason);
    const auto decrypted = platform::decryptArchive(*contents, key);
    if (const auto* error = std::get_if<platform::ArchiveDecryptionError>(&decrypted)) {
        return failure(Error::unableToCreateDecryptionContext, reasonFor(*error));
    }
    const auto decoded =
        platform::decodeArchive(std::get<platform::DecryptedArchive>(decrypted).bytes);
    if (std::holds_alternative<platform::ArchiveDecodingError>(decoded)) {
        return failure(Error::unableToCreateDecodeStream, "the archive's entries are damaged");
    }
    return entryOf(std::get<std::vector<platform::ArchiveEntry>>(decoded));
}

const char* StringEncryptionDecryption::name(Error error) {
    switch (error) {
        case Error::unableToCreateDecodeStream:
            return "unableToCreateDecodeStream";
        case Error::unableToGetHeaderField:
            return "unableToGetHeaderField";
        case Error::zeroDataSize:
            return "zeroDataSize";
        case Error::unableToCreateFileStream:
            return "unableToCreateFileStream";
        case Error::unableToCreateEncryptionStream:
            return "unableToCreateEncryptionStream";
        case Error::unableToCreateDecryptionContext:
            return "unableToCreateDecryptionContext";
        case Error::unableToWriteFile:
            return "unableToWriteFile";
    }
    return "unknown";
}

}  // namespace zelvana::utilities
