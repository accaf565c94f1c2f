#include "platform/foundation/UserDefaults.hpp"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <limits>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "platform/dispatch/Clock.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/foundation/SystemFolders.hpp"
#include "platform/testing/TemporaryFolders.hpp"

namespace zelvana::platform {
namespace {

namespace fs = std::filesystem;

using Change = std::pair<std::optional<PropertyValue>, std::optional<PropertyValue>>;

std::string contentsOf(const fs::path& path) {
    std::ifstream in(path, std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
}

void writeText(const fs::path& path, const std::string& text) {
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << text;
}

class UserDefaultsTest : public ::testing::Test {
protected:
    ~UserDefaultsTest() override {
        std::error_code ignored;
        fs::permissions(preferences, fs::perms::owner_all, ignored);
    }

    fs::path suiteFile() const { return preferences / "com.example.Suite.plist"; }

    testing::TemporaryFolders folders;
    const fs::path preferences = *SystemFolders::preferences();
};

TEST_F(UserDefaultsTest, ValuesSurviveAReloadFromDisk) {
    {
        UserDefaults defaults("com.example.Suite");
        defaults.set("flag", true);
        defaults.set("count", 42);
        defaults.set("name", "Zelvana");
        defaults.set("blob", Data{1, 2, 3});
        defaults.set("list", PropertyArray{1, "two"});
        defaults.set("gone", 1);
        defaults.removeObject("gone");
        defaults.removeObject("never-set");
    }
    ASSERT_TRUE(fs::exists(suiteFile()));

    UserDefaults reread("com.example.Suite");
    EXPECT_TRUE(reread.boolForKey("flag"));
    EXPECT_EQ(reread.integerForKey("count"), 42);
    EXPECT_EQ(reread.stringForKey("name"), "Zelvana");
    EXPECT_EQ(reread.dataForKey("blob"), (Data{1, 2, 3}));
    EXPECT_EQ(reread.arrayForKey("list"), (PropertyArray{1, "two"}));
    EXPECT_FALSE(reread.object("gone"));

    // A change made to the file behind its back shows after a reload.
    ASSERT_TRUE(
        PropertyListSerialization::writeXmlFile(suiteFile(), PropertyDictionary{{"count", 7}}));
    EXPECT_EQ(reread.integerForKey("count"), 42);
    reread.reloadFromDisk();
    EXPECT_EQ(reread.integerForKey("count"), 7);
    EXPECT_FALSE(reread.object("flag"));
}

TEST_F(UserDefaultsTest, SuiteDomainWinsOverGlobalOverRegistration) {
    UserDefaults defaults("com.example.Suite");
    defaults.registerDefaults({{"a", "registered"}, {"b", "registered"}, {"c", "registered"}});
    UserDefaults::globalDomain().set("a", "global");
    UserDefaults::globalDomain().set("b", "global");
    defaults.set("a", "suite");

    EXPECT_EQ(defaults.stringForKey("a"), "suite");
    EXPECT_EQ(defaults.stringForKey("b"), "global");
    EXPECT_EQ(defaults.stringForKey("c"), "registered");
    EXPECT_EQ(defaults.dictionaryRepresentation(),
              (PropertyDictionary{{"a", "suite"}, {"b", "global"}, {"c", "registered"}}));

    // Removal uncovers the next domain; the suite never writes the global file.
    defaults.removeObject("a");
    EXPECT_EQ(defaults.stringForKey("a"), "global");
    defaults.removeObject("b");
    EXPECT_EQ(defaults.stringForKey("b"), "global");

    // The registration domain lives in memory and belongs to its object.
    UserDefaults other("com.example.Other");
    EXPECT_EQ(other.stringForKey("b"), "global");
    EXPECT_FALSE(other.object("c"));
    auto onDisk = PropertyListSerialization::readXmlFile(suiteFile());
    ASSERT_TRUE(onDisk);
    EXPECT_EQ(*onDisk, PropertyValue(PropertyDictionary{}));
}

TEST_F(UserDefaultsTest, TypedGettersConvertLikeFoundation) {
    UserDefaults defaults("com.example.Suite");
    defaults.set("int", 3);
    defaults.set("real", 2.75);
    defaults.set("true", true);
    defaults.set("yes", "YES");
    defaults.set("one", "1");
    defaults.set("number-text", " 12.5 ");
    defaults.set("word", "abc");
    defaults.set("huge", "1e30");
    defaults.set("list", PropertyArray{1});

    EXPECT_TRUE(defaults.boolForKey("int"));
    EXPECT_FALSE(defaults.boolForKey("list"));

    EXPECT_EQ(defaults.integerForKey("real"), 2);
    EXPECT_EQ(defaults.integerForKey("true"), 1);
    EXPECT_EQ(defaults.integerForKey("one"), 1);
    EXPECT_EQ(defaults.integerForKey("number-text"), 12);
    EXPECT_EQ(defaults.integerForKey("huge"), std::numeric_limits<std::int64_t>::max());
    EXPECT_EQ(defaults.integerForKey("yes"), 0);
    EXPECT_EQ(defaults.integerForKey("word"), 0);

    EXPECT_DOUBLE_EQ(defaults.doubleForKey("int"), 3.0);
    EXPECT_DOUBLE_EQ(defaults.doubleForKey("number-text"), 12.5);
    EXPECT_DOUBLE_EQ(defaults.doubleForKey("word"), 0.0);
    EXPECT_FLOAT_EQ(defaults.floatForKey("real"), 2.75f);

    EXPECT_EQ(defaults.stringForKey("int"), "3");
    EXPECT_EQ(defaults.stringForKey("real"), "2.75");
    EXPECT_EQ(defaults.stringForKey("true"), "1");
    EXPECT_FALSE(defaults.stringForKey("list"));

    // Containers and data read only as themselves.
    EXPECT_FALSE(defaults.dataForKey("word"));
    EXPECT_FALSE(defaults.arrayForKey("word"));
    EXPECT_FALSE(defaults.dictionaryForKey("list"));
}

TEST_F(UserDefaultsTest, TextReadAsABooleanIsYesForYesTrueAndEveryNonZeroWholeNumber) {
    UserDefaults defaults("com.example.Suite");
    const std::vector<std::pair<std::string, bool>> cases{
        {"YES", true}, {"yes", true},    {"true", true},   {"TRUE", true}, {" yes ", true},
        {"1", true},   {"-1", true},     {"2", true},      {" 1 ", true},  {"+3", true},
        {"NO", false}, {"no", false},    {"false", false}, {"0", false},   {"-0", false},
        {"", false},   {"maybe", false}, {"y", false},
    };
    for (const auto& [text, value] : cases) {
        defaults.set("flag", text);
        EXPECT_EQ(defaults.boolForKey("flag"), value) << '"' << text << '"';
    }
}

TEST_F(UserDefaultsTest, AbsentKeysReadAsNothing) {
    UserDefaults defaults("com.example.Suite");
    EXPECT_FALSE(defaults.object("missing"));
    EXPECT_FALSE(defaults.boolForKey("missing"));
    EXPECT_EQ(defaults.integerForKey("missing"), 0);
    EXPECT_EQ(defaults.doubleForKey("missing"), 0.0);
    EXPECT_EQ(defaults.floatForKey("missing"), 0.0f);
    EXPECT_FALSE(defaults.stringForKey("missing"));
    EXPECT_FALSE(defaults.dataForKey("missing"));
    EXPECT_FALSE(defaults.arrayForKey("missing"));
    EXPECT_FALSE(defaults.dictionaryForKey("missing"));
    EXPECT_TRUE(defaults.dictionaryRepresentation().empty());
    EXPECT_FALSE(fs::exists(suiteFile()));  // reading creates nothing
}

TEST_F(UserDefaultsTest, ObserversSeeOldAndNewEffectiveValues) {
    UserDefaults defaults("com.example.Suite");
    defaults.registerDefaults({{"k", 1}});
    std::vector<Change> changes;
    auto token = defaults.addObserver("k", [&](const auto& oldValue, const auto& newValue) {
        changes.emplace_back(oldValue, newValue);
    });

    defaults.set("k", 2);
    defaults.set("k", 2);        // no change, no call
    defaults.set("other", 5);    // another key
    defaults.removeObject("k");  // falls back to the registered value
    defaults.registerDefaults({{"k", 3}});
    UserDefaults("com.example.Suite").set("k", 4);  // same suite, other object
    token.cancel();
    defaults.set("k", 5);

    EXPECT_EQ(changes, (std::vector<Change>{{PropertyValue(1), PropertyValue(2)},
                                            {PropertyValue(2), PropertyValue(1)},
                                            {PropertyValue(1), PropertyValue(3)},
                                            {PropertyValue(3), PropertyValue(4)}}));
}

TEST_F(UserDefaultsTest, ObserversChangedFromInsideACallback) {
    UserDefaults defaults("com.example.Suite");
    std::vector<std::string> calls;
    Subscription later;
    std::vector<Subscription> added;
    const auto first = defaults.addObserver("k", [&](const auto&, const auto& newValue) {
        calls.push_back("first");
        later.cancel();
        added.push_back(
            defaults.addObserver("k", [&](const auto&, const auto&) { calls.push_back("added"); }));
        // Writing from inside a callback must not deadlock.
        if (newValue == PropertyValue(1)) defaults.set("echo", true);
    });
    later = defaults.addObserver("k", [&](const auto&, const auto&) { calls.push_back("later"); });

    defaults.set("k", 1);
    EXPECT_EQ(calls, (std::vector<std::string>{"first"}));
    EXPECT_TRUE(defaults.boolForKey("echo"));

    defaults.set("k", 2);
    EXPECT_EQ(calls, (std::vector<std::string>{"first", "first", "added"}));
}

TEST_F(UserDefaultsTest, ConcurrentWritersAllReachTheFile) {
    constexpr int kThreads = 6;
    constexpr int kKeys = 25;
    {
        UserDefaults defaults("com.example.Suite");
        std::vector<std::thread> threads;
        for (int t = 0; t < kThreads; ++t) {
            threads.emplace_back([&defaults, t] {
                for (int i = 0; i < kKeys; ++i) {
                    defaults.set("key-" + std::to_string(t) + "-" + std::to_string(i), t * 100 + i);
                    (void)defaults.integerForKey("key-0-0");
                }
            });
        }
        for (auto& thread : threads) thread.join();
    }

    UserDefaults reread("com.example.Suite");
    EXPECT_EQ(reread.dictionaryRepresentation().size(), std::size_t{kThreads * kKeys});
    EXPECT_EQ(reread.integerForKey("key-5-24"), 524);
}

TEST_F(UserDefaultsTest, CorruptFileIsKeptAsideAndNotReplacedByLess) {
    VirtualClock clock(700000000.0);
    const std::string unixTime = std::to_string(700000000 + 978307200);
    const std::string garbage = "<plist><dict><key>grid</key>";
    writeText(suiteFile(), garbage);

    UserDefaults defaults("com.example.Suite");
    EXPECT_FALSE(defaults.object("grid"));
    EXPECT_EQ(contentsOf(suiteFile()), garbage);  // reading leaves it alone

    defaults.set("fresh", 1);
    auto keptAside = suiteFile().string() + ".corrupt-" + unixTime;
    EXPECT_EQ(contentsOf(keptAside), garbage);
    EXPECT_EQ(PropertyListSerialization::readXmlFile(suiteFile()),
              PropertyValue(PropertyDictionary{{"fresh", 1}}));

    // A second corrupt file in the same second must not replace the first.
    const std::string notADictionary = PropertyListSerialization::toXml(PropertyArray{1});
    writeText(suiteFile(), notADictionary);
    defaults.reloadFromDisk();
    EXPECT_FALSE(defaults.object("fresh"));
    defaults.set("fresh", 2);
    EXPECT_EQ(contentsOf(keptAside), garbage);
    EXPECT_EQ(contentsOf(keptAside + "-1"), notADictionary);
    EXPECT_EQ(PropertyListSerialization::readXmlFile(suiteFile()),
              PropertyValue(PropertyDictionary{{"fresh", 2}}));
}

TEST_F(UserDefaultsTest, FailedWriteKeepsTheValueInMemory) {
    // A file where the preferences folder should be blocks every write, even for root.
    writeText(preferences, "not a folder");

    UserDefaults defaults("com.example.Suite");
    defaults.set("k", 1);
    EXPECT_EQ(defaults.integerForKey("k"), 1);
    EXPECT_FALSE(defaults.synchronize());

    fs::remove(preferences);
    EXPECT_TRUE(defaults.synchronize());
    EXPECT_EQ(PropertyListSerialization::readXmlFile(suiteFile()),
              PropertyValue(PropertyDictionary{{"k", 1}}));
}

TEST_F(UserDefaultsTest, ReadOnlyFolderFailsWithoutLosingTheValue) {
    if (geteuid() == 0) GTEST_SKIP() << "permissions do not bind root";
    fs::create_directories(preferences);
    fs::permissions(preferences, fs::perms::owner_read | fs::perms::owner_exec);

    UserDefaults defaults("com.example.Suite");
    defaults.set("k", "kept");
    EXPECT_EQ(defaults.stringForKey("k"), "kept");
    EXPECT_FALSE(defaults.synchronize());
    EXPECT_FALSE(fs::exists(suiteFile()));
}

TEST_F(UserDefaultsTest, StandardFollowsTheSuiteName) {
    UserDefaults::setStandardSuiteName("com.example.Suite");
    UserDefaults::standard().registerDefaults({{"r", 1}});
    UserDefaults::standard().set("k", "standard");
    EXPECT_EQ(UserDefaults("com.example.Suite").stringForKey("k"), "standard");

    // Switching starts afresh: registrations go, the new suite's file is read.
    UserDefaults::setStandardSuiteName("com.example.Other");
    EXPECT_EQ(UserDefaults::standard().suiteName(), "com.example.Other");
    EXPECT_FALSE(UserDefaults::standard().object("k"));
    EXPECT_FALSE(UserDefaults::standard().object("r"));
    UserDefaults::setStandardSuiteName(UserDefaults::defaultStandardSuiteName);
}

TEST_F(UserDefaultsTest, FarDatesKeepTheDomainReadableAndUnwritableOnesAreRefused) {
    {
        UserDefaults defaults("com.example.Suite");
        defaults.set("name", "kept");
        defaults.set("far", Date{1e12});
        defaults.set("never", Date{std::numeric_limits<double>::quiet_NaN()});
        defaults.set("list", PropertyArray{Date{-std::numeric_limits<double>::infinity()}});
        EXPECT_FALSE(defaults.object("never"));
        EXPECT_FALSE(defaults.object("list"));
    }
    UserDefaults reread("com.example.Suite");
    reread.reloadFromDisk();
    EXPECT_EQ(reread.object("far"), PropertyValue(Date{1e12})) << contentsOf(suiteFile());
    EXPECT_EQ(reread.stringForKey("name"), "kept");
}

}  // namespace
}  // namespace zelvana::platform
