#include <gtest/gtest.h>
#include <openssl/evp.h>
#include <openssl/hmac.h>
#include <openssl/kdf.h>

#include <memory>

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

const unsigned char* bytesOf(std::string_view text) {
    return reinterpret_cast<const unsigned char*>(text.data());
}

// Recomputed with OpenSSL from the layout the README documents, not from the
// writer's code: a change to the layout or to how its keys are made shows here.
TEST(ArchiveEncryption, SealsTheDocumentedLayout) {
    const std::string plain = randomText(40);  // does not shrink, so it is stored as it is
    MemoryStream file;
    auto stream = EncryptionOutputStream::open(file, context(16));
    ASSERT_TRUE(stream->write(plain) && stream->close());
    const std::string& archive = file.bytes;
    ASSERT_EQ(archive.size(), 74u + 2 * (9 + 16 + 32) + (9 + 8 + 32));
    EXPECT_EQ(archive.substr(0, 10), std::string("ZVAE\1\1\0\0\0\x10", 10));

    const auto& raw = key().rawRepresentation();
    unsigned char keys[64];  // the cipher key, then the MAC key
    std::size_t keysSize = sizeof keys;
    const std::unique_ptr<EVP_PKEY_CTX, decltype(&EVP_PKEY_CTX_free)> hkdf(
        EVP_PKEY_CTX_new_id(EVP_PKEY_HKDF, nullptr), EVP_PKEY_CTX_free);
    ASSERT_TRUE(EVP_PKEY_derive_init(hkdf.get()) == 1 &&
                EVP_PKEY_CTX_set_hkdf_md(hkdf.get(), EVP_sha256()) == 1 &&
                EVP_PKEY_CTX_set1_hkdf_salt(hkdf.get(), bytesOf(archive) + 10, 32) == 1 &&
                EVP_PKEY_CTX_set1_hkdf_key(hkdf.get(), raw.data(), 32) == 1 &&
                EVP_PKEY_CTX_add1_hkdf_info(hkdf.get(), bytesOf("ZVAE keys"), 9) == 1 &&
                EVP_PKEY_derive(hkdf.get(), keys, &keysSize) == 1);
    const auto hmac = [&](std::string_view data) {
        unsigned char mac[32];
        HMAC(EVP_sha256(), keys + 32, 32, bytesOf(data), data.size(), mac, nullptr);
        return std::string(reinterpret_cast<char*>(mac), 32);
    };
    EXPECT_EQ(archive.substr(42, 32), hmac(archive.substr(0, 42)));

    const std::string head("\0\0\0\0\x10\0\0\0\x10", 9);  // flags, both sizes
    for (char n : {0, 1}) {
        const std::string block = archive.substr(74 + n * 57, 57);
        EXPECT_EQ(block.substr(0, 9), head);
        std::string counter(16, '\0');  // n × 2^64
        counter[7] = n;
        unsigned char data[16];
        int size = 0;
        const std::unique_ptr<EVP_CIPHER_CTX, decltype(&EVP_CIPHER_CTX_free)> aes(
            EVP_CIPHER_CTX_new(), EVP_CIPHER_CTX_free);
        ASSERT_TRUE(EVP_EncryptInit_ex(aes.get(), EVP_aes_256_ctr(), nullptr, keys,
                                       bytesOf(counter)) == 1 &&
                    EVP_EncryptUpdate(aes.get(), data, &size, bytesOf(plain) + 16 * n, 16) == 1);
        const std::string ciphertext(reinterpret_cast<char*>(data), 16);
        EXPECT_EQ(block.substr(9, 16), ciphertext) << int(n);
        EXPECT_EQ(block.substr(25), hmac(counter.substr(0, 8) + head + ciphertext)) << int(n);
    }
    EXPECT_EQ(archive.substr(188, 9), std::string("\1\0\0\0\x08\0\0\0\x08", 9));
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
