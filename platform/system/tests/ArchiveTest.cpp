#include <gtest/gtest.h>

#include "platform/system/ArchiveEncryption.hpp"
#include "platform/system/ArchiveStream.hpp"

namespace zelvana::platform {
namespace {

using Decrypted = std::variant<DecryptedArchive, ArchiveDecryptionError>;

// Keeps what is written, and refuses it once `room` bytes are taken.
struct MemoryStream : OutputByteStream {
    std::string bytes;
    std::size_t room = std::string::npos;
    bool closed = false;
    bool write(std::string_view more) override {
        if (more.size() > room - bytes.size()) return false;
        bytes += more;
        return true;
    }
    bool close() override { return closed = true; }
};

const SymmetricKey& key() {
    static const SymmetricKey key(SymmetricKey::Size::bits256);
    return key;
}

ArchiveEncryptionContext context(std::size_t blockSize, const SymmetricKey& with = key()) {
    return {ArchiveProfile::hkdfSha256AesctrHmacSymmetricNone, ArchiveCompression::zstd, blockSize,
            with};
}

std::string randomText(std::size_t size) {
    const auto bytes = randomBytes(size);
    return std::string(bytes.begin(), bytes.end());
}

// `plain` sealed in blocks of `blockSize`, written in pieces of 1, 99 and the rest.
std::string sealed(std::string_view plain, std::size_t blockSize) {
    MemoryStream file;
    auto stream = EncryptionOutputStream::open(file, context(blockSize));
    for (std::size_t piece : {std::size_t{1}, std::size_t{99}, plain.size()}) {
        EXPECT_TRUE(stream->write(plain.substr(0, piece)));
        plain.remove_prefix(std::min(piece, plain.size()));
    }
    EXPECT_TRUE(stream->close());
    EXPECT_FALSE(file.closed);
    return file.bytes;
}

TEST(ArchiveEncryption, OpensWhatItSealedInBlocksAndTellsHowItWasSealed) {
    for (std::size_t size : {0, 100, 250}) {
        const std::string plain = randomText(size);
        const auto opened = std::get<DecryptedArchive>(decryptArchive(sealed(plain, 100), key()));
        EXPECT_EQ(opened.bytes, plain);
        EXPECT_EQ(opened.blockCount, std::max<std::size_t>(1, (size + 99) / 100)) << size;
        EXPECT_EQ(opened.compressionBlockSize, 100u);
        EXPECT_EQ(opened.profile, ArchiveProfile::hkdfSha256AesctrHmacSymmetricNone);
        EXPECT_EQ(opened.compression, ArchiveCompression::zstd);
    }
}

TEST(ArchiveEncryption, CompressesWhatRepeatsAndNeverSealsTheSameBytesAlike) {
    const std::string repeated(300'000, 'a');
    EXPECT_LT(sealed(repeated, 1 << 20).size(), 1'000u);
    EXPECT_EQ(std::get<DecryptedArchive>(decryptArchive(sealed(repeated, 1 << 20), key())).bytes,
              repeated);

    // Keys derived afresh for each archive: no keystream is used twice.
    const std::string plain = randomText(200);
    const std::string first = sealed(plain, 100), second = sealed(plain, 100);
    ASSERT_EQ(first.size(), second.size());
    std::size_t alike = 0;
    for (std::size_t at = 10; at < first.size(); ++at) alike += first[at] == second[at];
    EXPECT_LT(alike, first.size() / 8);
}

TEST(ArchiveEncryption, RefusesAnyChangedByteACutAMovedBlockAndAnotherKey) {
    const std::string archive = sealed(randomText(250), 100);
    for (std::size_t at = 0; at < archive.size(); ++at) {
        std::string changed = archive;
        changed[at] ^= 0x10;
        EXPECT_FALSE(std::holds_alternative<DecryptedArchive>(decryptArchive(changed, key())))
            << "byte " << at;
        EXPECT_EQ(std::get<ArchiveDecryptionError>(decryptArchive(archive.substr(0, at), key())),
                  ArchiveDecryptionError::cutShort)
            << "cut at " << at;
    }
    // The prologue is 74 bytes and each full block of random bytes 141: swap the first two.
    const std::string swapped = archive.substr(0, 74) + archive.substr(215, 141) +
                                archive.substr(74, 141) + archive.substr(356);
    ASSERT_EQ(swapped.size(), archive.size());
    EXPECT_EQ(std::get<ArchiveDecryptionError>(decryptArchive(swapped, key())),
              ArchiveDecryptionError::authenticationFailure);
    EXPECT_EQ(std::get<ArchiveDecryptionError>(
                  decryptArchive(archive, SymmetricKey(SymmetricKey::Size::bits256))),
              ArchiveDecryptionError::authenticationFailure);
    EXPECT_EQ(std::get<ArchiveDecryptionError>(decryptArchive(archive + "x", key())),
              ArchiveDecryptionError::malformed);
    EXPECT_EQ(std::get<ArchiveDecryptionError>(decryptArchive("PK\3\4 not ours", key())),
              ArchiveDecryptionError::notAnArchive);
}

TEST(ArchiveEncryption, OpensOnlyWithA256BitKeyAndPassesOnAFailingDestination) {
    MemoryStream file;
    EXPECT_FALSE(EncryptionOutputStream::open(
        file, context(100, SymmetricKey(SymmetricKey::Size::bits128))));
    EXPECT_FALSE(EncryptionOutputStream::open(file, context(0)));
    EXPECT_TRUE(file.bytes.empty());

    file.room = 0;
    EXPECT_FALSE(EncryptionOutputStream::open(file, context(100)));
    file.room = 100;
    auto stream = EncryptionOutputStream::open(file, context(100));
    ASSERT_TRUE(stream);
    EXPECT_TRUE(stream->write(randomText(100)));  // held back as the last block so far
    EXPECT_FALSE(stream->write("x"));
    EXPECT_FALSE(stream->write("y"));
    EXPECT_FALSE(stream->close());
}

ArchiveHeader sampleHeader() {
    ArchiveHeader header;
    header.appendString("PAT", "grid.json");
    header.appendUInt("TYP", static_cast<std::uint64_t>(ArchiveEntryType::regularFile));
    header.appendBlob("DAT", 5);
    header.appendBlob("XAT", 2);
    return header;
}

std::string encodedSample() {
    MemoryStream stream;
    ArchiveEncoder encoder(stream);
    EXPECT_TRUE(encoder.writeHeader(sampleHeader()));
    EXPECT_TRUE(encoder.writeBlob("DAT", "[1,2]"));
    EXPECT_TRUE(encoder.writeBlob("XAT", "{}"));
    EXPECT_TRUE(encoder.writeHeader(ArchiveHeader()));
    EXPECT_TRUE(encoder.close());
    return stream.bytes;
}

TEST(ArchiveStream, DecodesTheEntriesItEncodedWithTheirBlobsInPlace) {
    const auto entries = std::get<std::vector<ArchiveEntry>>(decodeArchive(encodedSample()));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].header, sampleHeader());
    EXPECT_EQ(std::get<ArchiveBlob>(entries[0].header.field("XAT")->value), (ArchiveBlob{2, 5}));
    EXPECT_EQ(*entries[0].blob("DAT"), "[1,2]");
    EXPECT_EQ(*entries[0].blob("XAT"), "{}");
    EXPECT_FALSE(entries[0].blob("PAT"));
    EXPECT_TRUE(entries[1].header.fields().empty());
}

TEST(ArchiveStream, TheEncoderWritesBlobsOnlyInTheirHeadersOrder) {
    MemoryStream stream;
    ArchiveHeader longKey;
    longKey.appendUInt("TYPE", 1);
    EXPECT_FALSE(ArchiveEncoder(stream).writeHeader(longKey));
    ArchiveHeader longText;
    longText.appendString("PAT", std::string(70'000, 'a'));
    EXPECT_FALSE(ArchiveEncoder(stream).writeHeader(longText));
    EXPECT_TRUE(stream.bytes.empty());

    for (auto [blobKey, bytes] : {std::pair{"XAT", "{}"}, {"DAT", "[1]"}}) {
        ArchiveEncoder encoder(stream);
        ASSERT_TRUE(encoder.writeHeader(sampleHeader()));
        EXPECT_FALSE(encoder.writeBlob(blobKey, bytes));
        EXPECT_FALSE(encoder.close());
    }
    ArchiveEncoder unfinished(stream);
    ASSERT_TRUE(unfinished.writeHeader(sampleHeader()));
    EXPECT_TRUE(unfinished.writeBlob("DAT", "[1,2]"));
    EXPECT_FALSE(unfinished.writeHeader(ArchiveHeader()));
    EXPECT_FALSE(unfinished.close());
}

TEST(ArchiveStream, TheDecoderRefusesCutsAndForeignBytes) {
    const std::string archive = encodedSample();
    for (std::size_t at = 1; at < archive.size(); ++at) {
        if (at == archive.size() - 6) continue;  // the whole first entry
        EXPECT_EQ(std::get<ArchiveDecodingError>(decodeArchive(archive.substr(0, at))),
                  ArchiveDecodingError::cutShort)
            << "cut at " << at;
    }
    std::string unknownKind = archive;
    unknownKind[6 + 3] = 'Q';
    EXPECT_EQ(std::get<ArchiveDecodingError>(decodeArchive(unknownKind)),
              ArchiveDecodingError::badHeader);
    EXPECT_EQ(std::get<ArchiveDecodingError>(decodeArchive("{\"json\": true}")),
              ArchiveDecodingError::badHeader);
}

}  // namespace
}  // namespace zelvana::platform
