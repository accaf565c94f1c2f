#include "Zelvana/SpacesPlist.hpp"

#include <gtest/gtest.h>

#include "Zelvana/AppNotifications.hpp"
#include "Zelvana/SpacesPlistObserver.hpp"
#include "Zelvana/tests/ScreenFixture.hpp"
#include "platform/foundation/FileManager.hpp"
#include "platform/foundation/PropertyListSerialization.hpp"
#include "platform/testing/LogCapture.hpp"

namespace zelvana::core::test {
namespace {

using platform::PropertyArray;
using platform::PropertyDictionary;
using platform::PropertyValue;
using platform::testing::LogCapture;

PropertyValue space(PropertyValue id, const std::string& uuid) {
    return PropertyDictionary{{"ManagedSpaceID", std::move(id)}, {"uuid", uuid}};
}

PropertyValue monitor(const std::string& display, std::optional<PropertyValue> current,
                      PropertyArray spaces) {
    PropertyDictionary entry{{"Display Identifier", display}, {"Spaces", std::move(spaces)}};
    if (current) entry.emplace("Current Space", std::move(*current));
    return entry;
}

// The system's file with one complete display, one without a current space,
// a space whose number is text and a window list holding text.
PropertyValue spacesFile(PropertyArray monitors) {
    const PropertyDictionary management{{"Age", 12.5}, {"Monitors", std::move(monitors)}};
    const PropertyArray properties{
        PropertyDictionary{{"name", "A"}, {"windows", PropertyArray{11, 12}}},
        PropertyDictionary{{"name", "B"}, {"windows", PropertyArray{1, "two"}}},
        PropertyDictionary{{"windows", PropertyArray{}}},
    };
    return PropertyDictionary{
        {"SpacesDisplayConfiguration",
         PropertyDictionary{{"Management Data", management}, {"Space Properties", properties}}}};
}

PropertyArray usualMonitors() {
    return {monitor("Main", space(4, "A"), {space(4, "A"), space("5", "B"), space(6, "C")}),
            monitor("Side", std::nullopt, {space(7, "D")})};
}

const PlistAllSpaces kUsualSpaces{
    12.5,
    {{"A", {11, 12}}},
    {{{4, "A"}, "Main", {{4, "A"}, {6, "C"}}}},
};

class SpacesPlistTest : public ScreenFixture {
protected:
    void writeFile(const std::string& contents) {
        auto& files = platform::FileManager::defaultManager();
        files.createDirectory(reader.path().parent_path(), true);
        ASSERT_TRUE(files.writeAtomically(reader.path(), contents));
    }
    static FileEvent event(FileEventFlags flag) {
        return FileEvent{"/spaces.plist", flag.rawValue(), 1, flag};
    }

    SpacesPlist reader;
};

TEST_F(SpacesPlistTest, ReadsXmlAndBinaryFilesBelowTheHomeFolder) {
    EXPECT_EQ(reader.path(), folders.home() / "Library/Preferences/com.apple.spaces.plist");
    const auto file = spacesFile(usualMonitors());
    writeFile(platform::PropertyListSerialization::toXml(file));
    EXPECT_EQ(reader.read(), kUsualSpaces);
    writeFile(platform::PropertyListSerialization::toBinary(file));
    EXPECT_EQ(reader.read(), kUsualSpaces);

    // A level of another shape gives empty lists, not a failure.
    writeFile(platform::PropertyListSerialization::toXml(
        spacesFile({monitor("Main", space(4, "A"), {}), "not a monitor"})));
    const auto oddMonitors = reader.read();
    ASSERT_TRUE(oddMonitors);
    EXPECT_TRUE(oddMonitors->monitors.empty());
    EXPECT_EQ(oddMonitors->age, 12.5);
    writeFile(platform::PropertyListSerialization::toXml(PropertyDictionary{
        {"SpacesDisplayConfiguration", PropertyDictionary{{"Management Data", 3}}}}));
    EXPECT_EQ(reader.read(), PlistAllSpaces{});
}

TEST_F(SpacesPlistTest, ReportsMissingAndMalformedFilesAndReadsNothing) {
    LogCapture capture(LogCapture::StandardOutput);
    const auto missing = reader.read();
    writeFile("<?xml version=\"1.0\"?><plist><dict><key>broken");
    const auto malformed = reader.read();
    writeFile("bplist00 but nothing after");
    const auto damaged = reader.read();
    writeFile(platform::PropertyListSerialization::toXml(PropertyDictionary{{"Other", 1}}));
    const auto unrelated = reader.read();
    const auto lines = capture.standardOutputLines();

    EXPECT_FALSE(missing || malformed || damaged || unrelated);
    ASSERT_EQ(lines.size(), 3u);
    EXPECT_EQ(lines[0], "Unable to find spaces info to read");
    EXPECT_TRUE(lines[1].starts_with("Error reading spaces: ")) << lines[1];
    EXPECT_TRUE(lines[2].starts_with("Error reading spaces: ")) << lines[2];
}

TEST_F(SpacesPlistTest, ObserverRereadsOnlyOnAPlainModification) {
    PostCounter updates(AppNotification::plistUpdated);
    SpacesPlistObserver observer;
    writeFile(platform::PropertyListSerialization::toBinary(spacesFile(usualMonitors())));
    addDisplay(1);

    LogCapture capture(LogCapture::StandardOutput);
    observer.filesChanged({});
    observer.filesChanged({event(FileEventFlag::itemCreated | FileEventFlag::itemIsFile)});
    observer.filesChanged({event(FileEventFlag::itemModified | FileEventFlag::itemIsFile)});
    EXPECT_EQ(updates.count, 0) << "modification combined with other bits does not count";
    observer.filesChanged({event(FileEventFlag::itemIsFile), event(FileEventFlags::fromRaw(4096))});
    const int afterModification = updates.count;
    const auto object = updates.last.object;

    addDisplay(2);
    observer.reread();
    const auto lines = capture.standardOutputLines();

    EXPECT_EQ(afterModification, 1);
    EXPECT_EQ(std::any_cast<PlistAllSpaces>(object), kUsualSpaces);
    EXPECT_EQ(updates.count, 1) << "one monitor in the file, two screens attached";
    EXPECT_EQ(lines, (std::vector<std::string>{"1:1", "1:2"}));
    EXPECT_FALSE(observer.fileSystemMonitor().hasStream()) << "nothing started it";
}

}  // namespace
}  // namespace zelvana::core::test
