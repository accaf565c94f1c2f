#include "Zelvana/Utilities/StringEncryptionDecryption.hpp"

#include <unistd.h>

#include <cstdio>

#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/FileStream.hpp"
#include "platform/system/AESGCM.hpp"

namespace zelvana::utilities {

namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;
using platform::AESGCM::CryptoError;
using platform::AESGCM::SealedBox;

constexpr char kMagic[] = {'Z', 'V', 'E', 'A'};
constexpr std::size_t kHeaderSize = sizeof kMagic + 1;
constexpr std::size_t kNameLengthSize = 2;

Bytes header() {
    Bytes bytes(std::begin(kMagic), std::end(kMagic));
    bytes.push_back(StringEncryptionDecryption::version);
    return bytes;
}

Bytes entryBytes(const std::string& name, const std::string& text) {
    Bytes bytes{static_cast<std::uint8_t>(name.size() >> 8),
                static_cast<std::uint8_t>(name.size() & 0xff)};
    bytes.insert(bytes.end(), name.begin(), name.end());
    bytes.insert(bytes.end(), text.begin(), text.end());
    return bytes;
}

StringEncryptionDecryption::Failure failure(StringEncryptionDecryption::Error error,
                                            std::string reason) {
    return {error, std::move(reason)};
}

// The archive's bytes written to a fresh temporary file beside it, then renamed over it.
std::optional<StringEncryptionDecryption::Failure> replaceFile(const fs::path& path,
                                                               const std::string& bytes) {
    using platform::FileOpenOption;
    using Error = StringEncryptionDecryption::Error;
    const fs::path temporary = path.string() + "." + std::to_string(::getpid()) + ".partial";
    std::string reason;
    auto stream = platform::FileStream::open(
        temporary, FileOpenOption::write | FileOpenOption::create | FileOpenOption::truncate, 0644,
        &reason);
    if (!stream) return failure(Error::unableToCreateFileStream, reason);
    const bool written =
        stream->write(bytes, &reason) && stream->sync(&reason) && stream->close(&reason);
    if (written && std::rename(temporary.c_str(), path.c_str()) == 0) return std::nullopt;
    if (written) reason = "could not replace '" + path.string() + "'";
    std::remove(temporary.c_str());
    return failure(Error::unableToWriteFile, reason);
}

std::variant<StringEncryptionDecryption::Entry, StringEncryptionDecryption::Failure> parseEntry(
    const Bytes& plain) {
    using Error = StringEncryptionDecryption::Error;
    if (plain.size() < kNameLengthSize) {
        return failure(Error::unableToGetHeaderField, "the entry has no name");
    }
    const std::size_t nameLength = (std::size_t{plain[0]} << 8) | plain[1];
    if (plain.size() < kNameLengthSize + nameLength) {
        return failure(Error::unableToGetHeaderField, "the entry's name is cut short");
    }
    const auto nameEnd = plain.begin() + static_cast<std::ptrdiff_t>(kNameLengthSize + nameLength);
    StringEncryptionDecryption::Entry entry{std::string(plain.begin() + kNameLengthSize, nameEnd),
                                            std::string(nameEnd, plain.end())};
    if (entry.text.empty()) return failure(Error::zeroDataSize, "the entry holds no data");
    return entry;
}

}  // namespace

std::optional<StringEncryptionDecryption::Failure> StringEncryptionDecryption::encrypt(
    const std::string& text, const platform::SymmetricKey& key, const std::string& entryName,
    const fs::path& path) {
    if (key.bitCount() != 256) {
        return failure(Error::unableToCreateEncryptionStream, "the key is not 256 bits");
    }
    if (entryName.size() > 0xffff) {
        return failure(Error::unableToGetHeaderField, "the entry name is too long");
    }
    // Reading refuses an entry without data, so it is never written.
    if (text.empty()) return failure(Error::zeroDataSize, "the entry holds no data");
    const auto sealed = platform::AESGCM::seal(entryBytes(entryName, text), key, header());
    if (!std::holds_alternative<SealedBox>(sealed)) {
        return failure(Error::unableToCreateEncryptionStream, "the cipher refused the key");
    }
    const Bytes box = std::get<SealedBox>(sealed).combined();
    std::string bytes(std::begin(kMagic), std::end(kMagic));
    bytes.push_back(static_cast<char>(version));
    bytes.append(box.begin(), box.end());
    return replaceFile(path, bytes);
}

std::variant<StringEncryptionDecryption::Entry, StringEncryptionDecryption::Failure>
StringEncryptionDecryption::decrypt(const platform::SymmetricKey& key, const fs::path& path) {
    std::string reason;
    const auto contents = platform::FileManager::defaultManager().contentsAtPath(path, &reason);
    if (!contents) return failure(Error::unableToCreateFileStream, reason);
    const Bytes bytes(contents->begin(), contents->end());
    const Bytes expected = header();
    if (bytes.size() < kHeaderSize ||
        !std::equal(expected.begin(), expected.end(), bytes.begin())) {
        return failure(Error::unableToCreateDecodeStream, "not an archive of version 1");
    }
    const auto box = SealedBox::fromCombined(Bytes(bytes.begin() + kHeaderSize, bytes.end()));
    if (!box) return failure(Error::unableToCreateDecodeStream, "the archive is cut short");
    const auto opened = platform::AESGCM::open(*box, key, expected);
    if (std::holds_alternative<CryptoError>(opened)) {
        return failure(Error::unableToCreateDecryptionContext,
                       "the archive was changed or the key is not its key");
    }
    return parseEntry(std::get<Bytes>(opened));
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
