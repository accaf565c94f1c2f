#include "Zelvana/Utilities/JSONEncrypted.hpp"

#include <gtest/gtest.h>
#include <sys/resource.h>
#include <unistd.h>

#include <csignal>
#include <fstream>
#include <functional>
#include <iterator>
#include <map>

#include "platform/system/ArchiveEncryption.hpp"
#include "platform/system/ArchiveStream.hpp"
#include "platform/testing/EncryptedArchive.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::utilities {
namespace {

namespace fs = std::filesystem;
using Error = StringEncryptionDecryption::Error;
using Settings = std::map<std::string, int>;
using Store = JSONEncrypted<Settings>;
using platform::ArchiveBlob;
using platform::ArchiveHeader;
using platform::testing::ArchiveContents;

std::string fileText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

// Writes past `bytes` into any file fail, as on a full disk.
class DiskFullAfter {
public:
    explicit DiskFullAfter(rlim_t bytes) : formerHandler_(std::signal(SIGXFSZ, SIG_IGN)) {
        ::getrlimit(RLIMIT_FSIZE, &former_);
        const rlimit limit{bytes, former_.rlim_max};
        ::setrlimit(RLIMIT_FSIZE, &limit);
    }
    ~DiskFullAfter() {
        ::setrlimit(RLIMIT_FSIZE, &former_);
        std::signal(SIGXFSZ, formerHandler_);
    }

private:
    void (*formerHandler_)(int);
    rlimit former_{};
};

class JSONEncryptedTest : public ::testing::Test {
protected:
    Store fresh() { return std::get<Store>(Store::open(archive, "settings", key)); }
    std::variant<Store, StoreFailure> reopen() { return Store::open(archive, "settings", key); }
    ArchiveContents contents() {
        return std::get<ArchiveContents>(platform::testing::readEncryptedArchive(archive, key));
    }
    // Seals what `write` gives under the store's key, as another writer might.
    void sealOwn(const std::function<void(platform::OutputByteStream&)>& write) {
        using platform::FileOpenOption;
        auto file = platform::FileOutputStream::open(
            archive, FileOpenOption::write | FileOpenOption::create | FileOpenOption::truncate,
            0644);
        auto stream = platform::EncryptionOutputStream::open(
            *file, {platform::ArchiveProfile::hkdfSha256AesctrHmacSymmetricNone,
                    platform::ArchiveCompression::zstd, 1024, key});
        write(*stream);
        ASSERT_TRUE(stream->close() && file->close());
    }

    platform::testing::TemporaryFolders folders;
    const fs::path archive = folders.path("settings.aar");
    const platform::SymmetricKey key{platform::SymmetricKey::Size::bits256};
};

TEST_F(JSONEncryptedTest, AValueWrittenIsReadBackByANewStore) {
    auto store = fresh();
    EXPECT_FALSE(store.typedValue());
    EXPECT_FALSE(store.setTypedValue(Settings{{"gridWidth", 3}}));
    EXPECT_EQ(store.value(), R"({"gridWidth":3})");

    EXPECT_EQ(fileText(archive).find("gridWidth"), std::string::npos);
    const auto sealed = contents();
    EXPECT_EQ(sealed.sealing.profile, platform::ArchiveProfile::hkdfSha256AesctrHmacSymmetricNone);
    EXPECT_EQ(sealed.sealing.compression, platform::ArchiveCompression::zstd);
    EXPECT_EQ(sealed.sealing.compressionBlockSize, 1'048'576u);
    ASSERT_EQ(sealed.entries.size(), 1u);
    const std::uint64_t regularFile =
        static_cast<std::uint64_t>(platform::ArchiveEntryType::regularFile);
    const std::vector<platform::ArchiveField> fields{
        {"PAT", std::string("settings.json")}, {"TYP", regularFile}, {"DAT", ArchiveBlob{15, 0}}};
    EXPECT_EQ(sealed.entries[0].header.fields(), fields);
    EXPECT_EQ(*sealed.entries[0].blob("DAT"), R"({"gridWidth":3})");
    auto again = reopen();
    ASSERT_TRUE(std::holds_alternative<Store>(again));
    EXPECT_EQ(std::get<Store>(again).typedValue(), (Settings{{"gridWidth", 3}}));
    EXPECT_EQ(std::get<Store>(again).value(), R"({"gridWidth":3})");

    auto modified = std::get<Store>(std::move(again));
    EXPECT_FALSE(modified.modify([](auto& value) { (*value)["rows"] = 2; }));
    EXPECT_EQ(std::get<Store>(reopen()).typedValue(), (Settings{{"gridWidth", 3}, {"rows", 2}}));
}

TEST_F(JSONEncryptedTest, ALargeValueIsSealedInCompressedBlocksOfAMebibyte) {
    JSONEncrypted<std::string> store(archive, "title", key);
    const std::string title(2'500'000, 'x');
    ASSERT_FALSE(store.setTypedValue(title));
    EXPECT_EQ(contents().sealing.blockCount, 3u);
    EXPECT_LT(fs::file_size(archive), 100'000u);
    auto again = JSONEncrypted<std::string>::open(archive, "title", key);
    EXPECT_EQ(std::get<JSONEncrypted<std::string>>(again).typedValue(), title);
}

TEST_F(JSONEncryptedTest, UnchangedTextIsNotWrittenAgainAndAnAbsentValueIsNull) {
    auto store = fresh();
    EXPECT_FALSE(store.setTypedValue(std::nullopt));
    EXPECT_EQ(store.value(), "null");
    fs::remove(archive);
    EXPECT_FALSE(store.setTypedValue(std::nullopt));
    EXPECT_FALSE(fs::exists(archive));

    EXPECT_FALSE(store.setTypedValue(Settings{{"a", 1}}));
    fs::remove(archive);
    EXPECT_FALSE(store.setTypedValue(Settings{{"a", 1}}));
    EXPECT_FALSE(fs::exists(archive));
}

TEST_F(JSONEncryptedTest, NothingIsWrittenBeforeTheStoreIsInitialized) {
    auto store = fresh();
    store.setTypeInitialized(false);
    EXPECT_FALSE(store.setTypedValue(Settings{{"a", 1}}));
    EXPECT_EQ(store.typedValue(), (Settings{{"a", 1}}));
    EXPECT_FALSE(store.value());
    EXPECT_FALSE(fs::exists(archive));
}

TEST_F(JSONEncryptedTest, AFailedWriteIsReportedAndLeavesTheOldValue) {
    auto store = fresh();
    ASSERT_FALSE(store.setTypedValue(Settings{{"a", 1}}));
    // The archive's folder turns into a file: nothing can be created in it.
    Store moved(folders.path("gone/settings.aar"), "settings", key, Settings{{"a", 1}});
    writeFile(folders.path("gone"), "");
    const auto failure = moved.setTypedValue(Settings{{"a", 2}});
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, StoreFailure::Kind::archive);
    EXPECT_EQ(failure->archiveError, Error::unableToCreateFileStream);
    EXPECT_EQ(moved.typedValue(), (Settings{{"a", 1}}));
    EXPECT_FALSE(moved.value());

    Store wrongKey(archive, "settings",
                   platform::SymmetricKey(platform::SymmetricKey::Size::bits128));
    EXPECT_EQ(wrongKey.setTypedValue(Settings{{"a", 3}})->archiveError,
              Error::unableToCreateEncryptionStream);
    // A header that cannot be written, and a full disk under a value of two
    // blocks: every stream is closed and nothing replaces the archive.
    const auto refused = [&](const std::string& name, const std::string& text) {
        const auto failure = StringEncryptionDecryption::encrypt(text, key, name, archive);
        if (!failure) return std::string("written");
        EXPECT_EQ(failure->error, Error::unableToWriteFile);
        return failure->reason;
    };
    EXPECT_EQ(refused(std::string(70'000, 'n'), "{}"), "the entry's header does not fit");
    const auto partial = archive.string() + "." + std::to_string(::getpid()) + ".partial";
    const auto random = platform::randomBytes(1'500'000);
    {
        const DiskFullAfter full(4096);
        EXPECT_EQ(refused("settings.json", std::string(random.begin(), random.end())),
                  "could not write '" + partial + "'");
    }
    EXPECT_EQ(std::get<Store>(reopen()).typedValue(), (Settings{{"a", 1}}));
    for (const auto& file : fs::directory_iterator(folders.root())) {
        EXPECT_NE(file.path().extension(), ".partial") << "left behind: " << file.path();
    }
}

TEST_F(JSONEncryptedTest, AValueWithoutAJSONFormIsRefused) {
    JSONEncrypted<std::string> store(archive, "title", key);
    const auto failure = store.setTypedValue(std::string("\xff\xfe"));
    ASSERT_TRUE(failure);
    EXPECT_EQ(failure->kind, StoreFailure::Kind::encoding);
    EXPECT_FALSE(store.typedValue());
    EXPECT_FALSE(fs::exists(archive));
}

struct DamageCase {
    const char* name;
    std::function<std::string(std::string)> damage;
};

class JSONEncryptedDamage : public JSONEncryptedTest,
                            public ::testing::WithParamInterface<DamageCase> {};

TEST_P(JSONEncryptedDamage, ADamagedArchiveIsRefusedAndKeptAsItIs) {
    ASSERT_FALSE(fresh().setTypedValue(Settings{{"a", 1}}));
    const std::string damaged = GetParam().damage(fileText(archive));
    writeFile(archive, damaged);
    const auto opened = reopen();
    ASSERT_TRUE(std::holds_alternative<StoreFailure>(opened));
    EXPECT_EQ(std::get<StoreFailure>(opened).archiveError, Error::unableToCreateDecryptionContext);
    EXPECT_EQ(fileText(archive), damaged);
}

std::string flipped(std::string bytes, std::size_t index) {
    bytes[index] = static_cast<char>(bytes[index] ^ 0x01);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JSONEncryptedDamage,
    ::testing::Values(
        DamageCase{"Empty", [](std::string) { return std::string(); }},
        DamageCase{"OtherMagic", [](std::string b) { return flipped(b, 0); }},
        DamageCase{"ChangedSalt", [](std::string b) { return flipped(b, 20); }},
        DamageCase{"CutShort", [](std::string b) { return b.substr(0, b.size() - 1); }},
        DamageCase{"ChangedData", [](std::string b) { return flipped(b, b.size() - 40); }},
        DamageCase{"ChangedMac", [](std::string b) { return flipped(b, b.size() - 1); }},
        DamageCase{"Lengthened", [](std::string b) { return b + "\n"; }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(JSONEncryptedTest, AnArchiveNotHoldingOneFileWithDataIsRefused) {
    const auto file = [](const char* typeKey, std::uint64_t dataSize) {
        ArchiveHeader header;
        header.appendString("PAT", "settings.json");
        header.appendUInt(typeKey,
                          static_cast<std::uint64_t>(platform::ArchiveEntryType::regularFile));
        header.appendBlob("DAT", dataSize);
        return header;
    };
    const auto entries = [&](std::vector<ArchiveHeader> headers) {
        return [headers](platform::OutputByteStream& stream) {
            platform::ArchiveEncoder encoder(stream);
            for (const auto& header : headers) {
                encoder.writeHeader(header);
                encoder.writeBlob(
                    "DAT",
                    std::string(std::get<ArchiveBlob>(header.field("DAT")->value).size, '1'));
            }
        };
    };
    const std::pair<std::function<void(platform::OutputByteStream&)>, Error> cases[] = {
        {[](platform::OutputByteStream& stream) { stream.write("{\"a\":1}"); },
         Error::unableToCreateDecodeStream},
        {entries({file("XYZ", 1)}), Error::unableToGetHeaderField},
        {entries({file("TYP", 1), file("TYP", 1)}), Error::unableToGetHeaderField},
        {entries({file("TYP", 0)}), Error::zeroDataSize},
    };
    for (const auto& [write, expected] : cases) {
        sealOwn(write);
        const auto opened = reopen();
        ASSERT_TRUE(std::holds_alternative<StoreFailure>(opened));
        EXPECT_EQ(std::get<StoreFailure>(opened).archiveError, expected);
    }
}

TEST_F(JSONEncryptedTest, AnotherKeyOrAnotherEntryIsRefused) {
    ASSERT_FALSE(fresh().setTypedValue(Settings{{"a", 1}}));
    const auto otherKey = Store::open(
        archive, "settings", platform::SymmetricKey(platform::SymmetricKey::Size::bits256));
    ASSERT_TRUE(std::holds_alternative<StoreFailure>(otherKey));
    EXPECT_EQ(std::get<StoreFailure>(otherKey).archiveError,
              Error::unableToCreateDecryptionContext);

    const auto otherName = Store::open(archive, "grid", key);
    ASSERT_TRUE(std::holds_alternative<StoreFailure>(otherName));
    EXPECT_EQ(std::get<StoreFailure>(otherName).kind, StoreFailure::Kind::decoding);

    const auto otherType = JSONEncrypted<std::vector<int>>::open(archive, "settings", key);
    ASSERT_TRUE(std::holds_alternative<StoreFailure>(otherType));
    EXPECT_EQ(std::get<StoreFailure>(otherType).kind, StoreFailure::Kind::decoding);
}

// Found by fuzzing: empty text was sealed into an archive that no reader takes.
TEST_F(JSONEncryptedTest, EmptyTextIsNeverSealedAndTheArchiveStaysAsItWas) {
    ASSERT_FALSE(fresh().setTypedValue(Settings{{"a", 1}}));
    const std::string before = fileText(archive);
    const auto refused = StringEncryptionDecryption::encrypt("", key, "sther.json", archive);
    ASSERT_TRUE(refused);
    EXPECT_EQ(refused->error, Error::zeroDataSize);
    EXPECT_EQ(fileText(archive), before);
}

}  // namespace
}  // namespace zelvana::utilities
