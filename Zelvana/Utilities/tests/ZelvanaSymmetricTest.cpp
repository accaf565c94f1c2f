#include "Zelvana/Utilities/ZelvanaSymmetric.hpp"

#include <gtest/gtest.h>

#include "Logging/testing/LogRecorder.hpp"
#include "Zelvana/Utilities/EncryptedStore.hpp"
#include "Zelvana/Utilities/GenericPasswordConvertible.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/system/Keychain.hpp"
#include "platform/testing/ScopedMainBundle.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::utilities {
namespace {

using platform::Keychain;
using platform::SymmetricKey;

class ZelvanaSymmetricTest : public ::testing::Test {
protected:
    void SetUp() override {
        ZelvanaSymmetric::resetForTesting();
        logging::Logging::addDestination(log);
    }
    void TearDown() override {
        platform::drainAllQueues();
        Keychain::setFailureInjectorForTesting({});
        ZelvanaSymmetric::resetForTesting();
        logging::Logging::removeDestination(log);
    }
    static void failReadsWith(platform::OSStatus status) {
        Keychain::setFailureInjectorForTesting([status](Keychain::Operation operation) {
            return operation == Keychain::Operation::copyMatching
                       ? std::optional<platform::OSStatus>(status)
                       : std::nullopt;
        });
    }

    platform::testing::TemporaryFolders folders;
    platform::testing::ScopedMainBundle bundle{
        platform::PropertyDictionary{{"CFBundleIdentifier", "com.quorrim.Zelvana"}}};
    std::shared_ptr<logging::testing::LogRecorder> log =
        std::make_shared<logging::testing::LogRecorder>();
};

TEST_F(ZelvanaSymmetricTest, ANewKeyIsKeptInTheKeychainAndReadAtTheNextStart) {
    EXPECT_EQ(ZelvanaSymmetric::account(), "com.quorrim.Zelvana");
    const auto first = std::get<SymmetricKey>(ZelvanaSymmetric::key());
    EXPECT_EQ(first.rawRepresentation().size(), 32u);
    EXPECT_EQ(keyDescription(first), "Key representation contains 32 bytes.");
    platform::drainAllQueues();

    std::vector<std::uint8_t> stored;
    ASSERT_EQ(Keychain::copyData("com.quorrim.Zelvana", stored), 0);
    EXPECT_EQ(stored, first.rawRepresentation());
    ZelvanaSymmetric::resetForTesting();
    EXPECT_EQ(std::get<SymmetricKey>(ZelvanaSymmetric::key()), first);
}

TEST_F(ZelvanaSymmetricTest, AnUnreadableKeychainIsReportedAndNoKeyIsMade) {
    failReadsWith(-25308);
    EXPECT_EQ(std::get<KeyStoreError>(ZelvanaSymmetric::key()).message,
              "Keychain read failed: User interaction is not allowed.");
    failReadsWith(-1234);
    EXPECT_EQ(std::get<KeyStoreError>(ZelvanaSymmetric::key()).description(),
              "Keychain read failed: -1234");
    platform::drainAllQueues();
    Keychain::setFailureInjectorForTesting({});
    std::vector<std::uint8_t> stored;
    EXPECT_EQ(Keychain::copyData("com.quorrim.Zelvana", stored), -25300);
}

TEST_F(ZelvanaSymmetricTest, AnItemThatHoldsNoKeyIsReportedNotReplaced) {
    for (const std::size_t size : {3, 31, 33}) {
        const std::string account = "damaged " + std::to_string(size);
        const std::vector<std::uint8_t> bytes(size, 7);
        ASSERT_EQ(Keychain::add({account, platform::KeychainAccessibility::whenUnlocked, bytes}),
                  0);
        EXPECT_TRUE(std::holds_alternative<KeyStoreError>(EncryptedStore::readKey(account)))
            << size;
    }
    ASSERT_EQ(
        Keychain::add(
            {"com.quorrim.Zelvana", platform::KeychainAccessibility::whenUnlocked, {1, 2, 3}}),
        0);
    EXPECT_TRUE(std::holds_alternative<KeyStoreError>(ZelvanaSymmetric::key()));
    platform::drainAllQueues();
    std::vector<std::uint8_t> kept;
    ASSERT_EQ(Keychain::copyData("com.quorrim.Zelvana", kept), 0);
    EXPECT_EQ(kept, (std::vector<std::uint8_t>{1, 2, 3}));
}

TEST_F(ZelvanaSymmetricTest, AFailedStoreIsLoggedAndTheKeyServesThisRun) {
    Keychain::setFailureInjectorForTesting([](Keychain::Operation operation) {
        return operation == Keychain::Operation::add ? std::optional<platform::OSStatus>(-36)
                                                     : std::nullopt;
    });
    const auto key = std::get<SymmetricKey>(ZelvanaSymmetric::key());
    platform::drainAllQueues();
    EXPECT_TRUE(log->find("unable to store key"));
    EXPECT_EQ(std::get<SymmetricKey>(ZelvanaSymmetric::key()), key);
    EXPECT_EQ(EncryptedStore::storeKey(key, "x")->message, "Unable to store item: I/O error.");
}

TEST_F(ZelvanaSymmetricTest, AnExistingItemIsNotReplaced) {
    const SymmetricKey key(SymmetricKey::Size::bits256);
    ASSERT_FALSE(EncryptedStore::storeKey(key, "a"));
    EXPECT_EQ(EncryptedStore::storeKey(SymmetricKey(SymmetricKey::Size::bits256), "a")->message,
              "Unable to store item: The specified item already exists in the keychain.");
    EXPECT_EQ(std::get<std::optional<SymmetricKey>>(EncryptedStore::readKey("a")), key);
}

TEST(ZelvanaSymmetricAccount, IsZelvanaWithoutABundleIdentifier) {
    platform::testing::ScopedMainBundle bundle{platform::PropertyDictionary{}};
    EXPECT_EQ(ZelvanaSymmetric::account(), "Zelvana");
}

}  // namespace
}  // namespace zelvana::utilities
