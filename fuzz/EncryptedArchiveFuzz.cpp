// The encrypted store's archive. Bytes from anywhere are refused unless they
// open under the key; what is sealed opens as the same name and text; a
// changed byte or a cut-short archive is refused. Bytes sealed in blocks of
// any size open as the same bytes, and archive entries that decode encode
// back to the same bytes.
#include <filesystem>
#include <fstream>
#include <iterator>
#include <variant>

#include "Zelvana/Utilities/StringEncryptionDecryption.hpp"
#include "fuzz/FuzzSupport.hpp"
#include "platform/system/ArchiveEncryption.hpp"
#include "platform/system/ArchiveStream.hpp"

using namespace zelvana;
namespace fs = std::filesystem;
using Archive = utilities::StringEncryptionDecryption;

namespace {

struct MemoryStream : platform::OutputByteStream {
    std::string bytes;
    bool write(std::string_view more) override {
        bytes += more;
        return true;
    }
    bool close() override { return true; }
};

const platform::SymmetricKey& key() {
    static const platform::SymmetricKey key(std::vector<std::uint8_t>(32, 0x5a));
    return key;
}

fs::path archivePath() {
    return fs::path(std::getenv("XDG_DATA_HOME")) / "store.archive";
}

std::string readArchive() {
    std::ifstream file(archivePath(), std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(file), {});
}

void writeArchive(const std::string& bytes) {
    std::ofstream(archivePath(), std::ios::binary | std::ios::trunc) << bytes;
}

bool opens() {
    return std::holds_alternative<Archive::Entry>(Archive::decrypt(key(), archivePath()));
}

void checkForeignBytes(const std::string& bytes) {
    writeArchive(bytes);
    fuzz::require(!opens(), "bytes not sealed under the key are refused");
}

void checkSealed(const std::string& name, const std::string& text, std::size_t damageAt) {
    if (Archive::encrypt(text, key(), name, archivePath())) return;
    const auto opened = Archive::decrypt(key(), archivePath());
    const auto* entry = std::get_if<Archive::Entry>(&opened);
    fuzz::require(entry != nullptr, "a sealed archive opens");
    fuzz::require(entry->name == name && entry->text == text, "a sealed entry opens unchanged");

    const std::string sealed = readArchive();
    std::string damaged = sealed;
    damaged[damageAt % damaged.size()] ^= 0x01;
    writeArchive(damaged);
    fuzz::require(!opens(), "an archive with a changed byte is refused");
    writeArchive(sealed.substr(0, damageAt % sealed.size()));
    fuzz::require(!opens(), "a cut-short archive is refused");
}

void checkBlocksAndEntries(const std::string& bytes, std::size_t blockSize) {
    MemoryStream file;
    auto stream = platform::EncryptionOutputStream::open(
        file, {platform::ArchiveProfile::hkdfSha256AesctrHmacSymmetricNone,
               platform::ArchiveCompression::zstd, blockSize, key()});
    fuzz::require(stream && stream->write(bytes) && stream->close(), "any bytes are sealed");
    const auto opened = platform::decryptArchive(file.bytes, key());
    const auto* decrypted = std::get_if<platform::DecryptedArchive>(&opened);
    fuzz::require(decrypted && decrypted->bytes == bytes, "sealed bytes open unchanged");

    const auto decoded = platform::decodeArchive(bytes);
    const auto* entries = std::get_if<std::vector<platform::ArchiveEntry>>(&decoded);
    if (!entries) return;
    MemoryStream again;
    platform::ArchiveEncoder encoder(again);
    for (const auto& entry : *entries) {
        fuzz::require(encoder.writeHeader(entry.header), "a decoded header encodes");
        std::size_t blob = 0;
        for (const auto& field : entry.header.fields()) {
            if (!std::holds_alternative<platform::ArchiveBlob>(field.value)) continue;
            fuzz::require(encoder.writeBlob(field.key, entry.blobs[blob++]), "a blob encodes");
        }
    }
    fuzz::require(encoder.close(), "the entries encode whole");
    fuzz::require(again.bytes == bytes, "decoded entries encode to the same bytes");
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    fuzz::useTemporaryHome();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size < 2) return 0;
    const std::string rest = fuzz::text(data + 2, size - 2);
    switch (data[0] % 3) {
        case 0: {
            const auto split = rest.find('\0');
            const std::string name = rest.substr(0, split);
            const std::string text = split == std::string::npos ? "" : rest.substr(split + 1);
            checkSealed(name, text, data[1]);
            break;
        }
        case 1:
            checkForeignBytes(rest);
            break;
        default:
            checkBlocksAndEntries(rest, std::size_t{data[1]} + 1);
    }
    return 0;
}
