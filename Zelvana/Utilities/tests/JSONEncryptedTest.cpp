#include "Zelvana/Utilities/JSONEncrypted.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <map>

#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::utilities {
namespace {

namespace fs = std::filesystem;
using Error = StringEncryptionDecryption::Error;
using Settings = std::map<std::string, int>;
using Store = JSONEncrypted<Settings>;

std::string fileText(const fs::path& file) {
    std::ifstream in(file, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeFile(const fs::path& file, const std::string& bytes) {
    std::ofstream(file, std::ios::binary | std::ios::trunc) << bytes;
}

class JSONEncryptedTest : public ::testing::Test {
protected:
    Store fresh() { return std::get<Store>(Store::open(archive, "settings", key)); }
    std::variant<Store, StoreFailure> reopen() { return Store::open(archive, "settings", key); }

    platform::testing::TemporaryFolders folders;
    const fs::path archive = folders.path("settings.aar");
    const platform::SymmetricKey key{platform::SymmetricKey::Size::bits256};
};

TEST_F(JSONEncryptedTest, AValueWrittenIsReadBackByANewStore) {
    auto store = fresh();
    EXPECT_FALSE(store.typedValue());
    EXPECT_FALSE(store.setTypedValue(Settings{{"gridWidth", 3}}));
    EXPECT_EQ(store.value(), R"({"gridWidth":3})");

    const std::string bytes = fileText(archive);
    EXPECT_EQ(bytes.substr(0, 5), std::string("ZVEA\x01", 5));
    EXPECT_EQ(bytes.find("gridWidth"), std::string::npos);
    auto again = reopen();
    ASSERT_TRUE(std::holds_alternative<Store>(again));
    EXPECT_EQ(std::get<Store>(again).typedValue(), (Settings{{"gridWidth", 3}}));
    EXPECT_EQ(std::get<Store>(again).value(), R"({"gridWidth":3})");

    auto modified = std::get<Store>(std::move(again));
    EXPECT_FALSE(modified.modify([](auto& value) { (*value)["rows"] = 2; }));
    EXPECT_EQ(std::get<Store>(reopen()).typedValue(), (Settings{{"gridWidth", 3}, {"rows", 2}}));
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
    Error expected;
};

class JSONEncryptedDamage : public JSONEncryptedTest,
                            public ::testing::WithParamInterface<DamageCase> {};

TEST_P(JSONEncryptedDamage, ADamagedArchiveIsRefusedAndKeptAsItIs) {
    ASSERT_FALSE(fresh().setTypedValue(Settings{{"a", 1}}));
    const std::string damaged = GetParam().damage(fileText(archive));
    writeFile(archive, damaged);
    const auto opened = reopen();
    ASSERT_TRUE(std::holds_alternative<StoreFailure>(opened));
    EXPECT_EQ(std::get<StoreFailure>(opened).archiveError, GetParam().expected);
    EXPECT_EQ(fileText(archive), damaged);
}

std::string flipped(std::string bytes, std::size_t index) {
    bytes[index] = static_cast<char>(bytes[index] ^ 0x01);
    return bytes;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, JSONEncryptedDamage,
    ::testing::Values(
        DamageCase{"Empty", [](std::string) { return std::string(); },
                   Error::unableToCreateDecodeStream},
        DamageCase{"OtherVersion", [](std::string b) { return flipped(b, 4); },
                   Error::unableToCreateDecodeStream},
        DamageCase{"ShorterThanNonceAndTag", [](std::string b) { return b.substr(0, 30); },
                   Error::unableToCreateDecodeStream},
        DamageCase{"CutShort", [](std::string b) { return b.substr(0, b.size() - 1); },
                   Error::unableToCreateDecryptionContext},
        DamageCase{"ChangedNonce", [](std::string b) { return flipped(b, 5); },
                   Error::unableToCreateDecryptionContext},
        DamageCase{"ChangedText", [](std::string b) { return flipped(b, 20); },
                   Error::unableToCreateDecryptionContext},
        DamageCase{"ChangedTag", [](std::string b) { return flipped(b, b.size() - 1); },
                   Error::unableToCreateDecryptionContext}),
    [](const auto& info) { return std::string(info.param.name); });

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
