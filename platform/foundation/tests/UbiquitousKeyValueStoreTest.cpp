#include "platform/foundation/UbiquitousKeyValueStore.hpp"

#include <gtest/gtest.h>

#include <any>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <set>
#include <string>
#include <vector>

#include "platform/dispatch/Clock.hpp"
#include "platform/foundation/NotificationCenter.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

namespace fs = std::filesystem;
using Store = UbiquitousKeyValueStore;

struct Received {
    const Store* store = nullptr;
    std::int64_t reason = -1;
    std::vector<std::string> keys;
};

// Records the store's external-change notifications while it lives.
class ChangeRecorder {
public:
    ChangeRecorder()
        : observer_(NotificationCenter::defaultCenter().addObserver(
              Store::didChangeExternallyNotification,
              [this](const Notification& note) { record(note); })) {}

    std::vector<Received> received;

private:
    void record(const Notification& note) {
        Received entry;
        entry.store = std::any_cast<Store*>(note.object);
        entry.reason = std::any_cast<std::int64_t>(note.userInfo.at(Store::changeReasonKey));
        entry.keys =
            std::any_cast<std::vector<std::string>>(note.userInfo.at(Store::changedKeysKey));
        received.push_back(entry);
    }
    Subscription observer_;
};

class UbiquitousKeyValueStoreTest : public ::testing::Test {
protected:
    testing::TemporaryFolders folders;
    const fs::path cloud = folders.path("cloud");
};

TEST_F(UbiquitousKeyValueStoreTest, TwoMachinesMeetOnlyWhenTheySynchronize) {
    Store first(cloud);
    Store second(cloud);
    ChangeRecorder recorder;

    first.setString("config", "{}");
    first.set("count", 3);
    EXPECT_EQ(first.stringForKey("config"), "{}");
    EXPECT_FALSE(first.stringForKey("count")) << "a number is not text";
    EXPECT_FALSE(second.object("config"));

    EXPECT_TRUE(first.synchronize());
    EXPECT_TRUE(recorder.received.empty()) << "a machine's own writes are not external";
    EXPECT_FALSE(second.object("config")) << "nothing arrives before synchronize";

    EXPECT_TRUE(second.synchronize());
    EXPECT_EQ(second.stringForKey("config"), "{}");
    ASSERT_EQ(recorder.received.size(), 1u);
    EXPECT_EQ(recorder.received[0].store, &second);
    EXPECT_EQ(recorder.received[0].reason, 0);
    EXPECT_EQ(recorder.received[0].keys, (std::vector<std::string>{"config", "count"}));

    EXPECT_TRUE(second.synchronize());
    EXPECT_EQ(recorder.received.size(), 1u) << "nothing new, nothing posted";

    // A fresh instance on the folder starts with what the file holds.
    EXPECT_EQ(Store(cloud).object("count"), PropertyValue(3));
}

TEST_F(UbiquitousKeyValueStoreTest, LocalChangesWinAndRemovalsTravel) {
    Store first(cloud);
    Store second(cloud);
    first.set("shared", "first");
    first.set("doomed", true);
    ASSERT_TRUE(first.synchronize());
    ASSERT_TRUE(second.synchronize());

    ChangeRecorder recorder;
    first.set("shared", "first again");
    first.removeObject("doomed");
    ASSERT_TRUE(first.synchronize());
    second.set("shared", "second");
    second.set("own", 1);
    ASSERT_TRUE(second.synchronize());

    EXPECT_EQ(second.stringForKey("shared"), "second") << "an unsynchronized local change wins";
    EXPECT_FALSE(second.object("doomed"));
    ASSERT_EQ(recorder.received.size(), 1u);
    EXPECT_EQ(recorder.received[0].keys, std::vector<std::string>{"doomed"});

    ASSERT_TRUE(first.synchronize());
    EXPECT_EQ(first.stringForKey("shared"), "second");
    EXPECT_EQ(first.object("own"), PropertyValue(1));
    EXPECT_EQ(first.dictionaryRepresentation().size(), 2u);
}

TEST_F(UbiquitousKeyValueStoreTest, InjectedChangesCarryReasonAndKeys) {
    Store store(cloud);
    ChangeRecorder recorder;
    store.postExternalChange(Store::ChangeReason::accountChange, {"config", "config"});
    ASSERT_EQ(recorder.received.size(), 1u);
    EXPECT_EQ(recorder.received[0].store, &store);
    EXPECT_EQ(recorder.received[0].reason, 3);
    EXPECT_EQ(recorder.received[0].keys, (std::vector<std::string>{"config", "config"}));
}

TEST_F(UbiquitousKeyValueStoreTest, CorruptFilesAreKeptAsideNotOverwritten) {
    VirtualClock clock(700000000.0);  // both are kept aside in the same second
    fs::create_directories(cloud);
    const std::multiset<std::string> corrupt{"not a property list", "<plist><dict>"};
    for (const auto& text : corrupt) {
        std::ofstream(cloud / Store::storeFileName) << text;
        Store store(cloud);
        EXPECT_TRUE(store.dictionaryRepresentation().empty());
        store.set("key", text);
        EXPECT_TRUE(store.synchronize());
    }

    std::multiset<std::string> keptAside;
    for (const auto& entry : fs::directory_iterator(cloud)) {
        if (!entry.path().filename().string().starts_with("store.plist.corrupt-")) continue;
        std::ifstream in(entry.path());
        keptAside.insert(std::string(std::istreambuf_iterator<char>(in), {}));
    }
    EXPECT_EQ(keptAside, corrupt);
    EXPECT_EQ(Store(cloud).stringForKey("key"), *corrupt.rbegin());
}

}  // namespace
}  // namespace zelvana::platform
