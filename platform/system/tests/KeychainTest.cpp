#include "platform/system/Keychain.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <fstream>

#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

using Bytes = std::vector<std::uint8_t>;

class KeychainTest : public ::testing::Test {
protected:
    void TearDown() override { Keychain::setFailureInjectorForTesting({}); }
    testing::TemporaryFolders folders;
};

TEST_F(KeychainTest, AddsOneItemPerAccountAndReadsItBack) {
    Bytes data;
    EXPECT_EQ(Keychain::copyData("com.quorrim.Zelvana", data), -25300);
    EXPECT_EQ(Keychain::add({"com.quorrim.Zelvana", KeychainAccessibility::whenUnlocked, {1, 2}}),
              0);
    EXPECT_EQ(Keychain::add({"com.quorrim.Zelvana", KeychainAccessibility::whenUnlocked, {3}}),
              -25299);
    EXPECT_EQ(Keychain::add({"other", KeychainAccessibility::whenUnlocked, {4}}), 0);
    EXPECT_EQ(Keychain::copyData("com.quorrim.Zelvana", data), 0);
    EXPECT_EQ(data, (Bytes{1, 2}));
}

TEST_F(KeychainTest, TheFileIsReadableOnlyByItsOwner) {
    ASSERT_EQ(Keychain::add({"a", KeychainAccessibility::whenUnlocked, {1}}), 0);
    const auto file = folders.data() / "zelvana/Keychains/login.keychain";
    ASSERT_EQ(Keychain::location(), file);
    struct stat info {};
    ASSERT_EQ(::stat(file.c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0600u);
    ASSERT_EQ(::stat(file.parent_path().c_str(), &info), 0);
    EXPECT_EQ(info.st_mode & 0777, 0700u);
}

TEST_F(KeychainTest, ACorruptKeychainIsAnErrorNotAnEmptyOne) {
    const auto file = *Keychain::location();
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << "not a property list";
    Bytes data;
    EXPECT_EQ(Keychain::copyData("a", data), -26275);
    EXPECT_EQ(Keychain::add({"a", KeychainAccessibility::whenUnlocked, {1}}), -26275);
    std::ifstream in(file);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "not a property list");
}

TEST_F(KeychainTest, InjectedFailuresAndMessages) {
    Keychain::setFailureInjectorForTesting([](Keychain::Operation operation) {
        return operation == Keychain::Operation::copyMatching ? std::optional<OSStatus>(-25308)
                                                              : std::nullopt;
    });
    Bytes data;
    EXPECT_EQ(Keychain::copyData("a", data), -25308);
    EXPECT_EQ(Keychain::errorMessage(-25308), "User interaction is not allowed.");
    EXPECT_EQ(Keychain::errorMessage(-25300),
              "The specified item could not be found in the keychain.");
    EXPECT_FALSE(Keychain::errorMessage(-1234));
}

}  // namespace
}  // namespace zelvana::platform
