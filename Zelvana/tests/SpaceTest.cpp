#include "Zelvana/Space.hpp"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

#include "Tools/ImageUtil.hpp"
#include "Zelvana/AppNotifications.hpp"
#include "Zelvana/tests/SpaceFixture.hpp"
#include "platform/appkit/Workspace.hpp"
#include "platform/foundation/NotificationCenter.hpp"

namespace zelvana::core::test {
namespace {

using platform::Pixel;

class SpaceTest : public SpaceFixture {
protected:
    // The tile colour of an application's icon, away from its disc and corners.
    static Pixel tileOf(const std::string& name) {
        return platform::Workspace::shared()
            .iconForFile("/Applications/" + name + ".app")
            .pixelAt(2, 16);
    }
    static bool isSepia(Pixel pixel) {
        return pixel.red >= pixel.green && pixel.green >= pixel.blue && pixel.red > pixel.blue;
    }
};

TEST_F(SpaceTest, TakesItsIdentityAndGeometryFromTheAnchor) {
    const Space empty;
    EXPECT_FALSE(empty.id());
    EXPECT_FALSE(empty.anchor());
    EXPECT_TRUE(empty.coordinates().empty());
    EXPECT_FALSE(empty.image());
    EXPECT_FALSE(empty.size());
    EXPECT_FALSE(empty.isCurrent());
    EXPECT_FALSE(empty.isStale() || empty.isNewSelection() || empty.isActiveOnLoad());

    const auto screen = addDisplay(1);
    const auto space = spaceOn(screen);
    EXPECT_EQ(space->id(), space->anchor()->id());
    EXPECT_EQ(space->shortId(), space->anchor()->id().substr(32));
    EXPECT_EQ(space->size(), (platform::Size{screenWidth * 0.13, screenHeight * 0.13}));
    const Space halved(Space::Fields{.anchor = space->anchor(), .sizeFactor = [] { return 0.5; }});
    EXPECT_EQ(halved.size(), (platform::Size{screenWidth * 0.5, screenHeight * 0.5}));
    EXPECT_TRUE(space->isCurrent());

    const platform::Date stored{700000000};
    const Space named(Space::Fields{.id = "mine", .anchor = space->anchor(), .lastActive = stored});
    EXPECT_EQ(named.id(), "mine");
    EXPECT_EQ(space->anchor()->lastActive(), stored);

    space->anchor()->setIsActive(false);
    EXPECT_FALSE(space->isCurrent());
    space->anchor()->setIsActive(true);
    desktop.switchToSpace(*desktop.addSpace(1));
    clock.advance(250);
    EXPECT_FALSE(space->isCurrent()) << "its space is no longer shown";
}

TEST_F(SpaceTest, PictureHasOneIconPerProcessTheFirstOnTop) {
    addApplication(101, "Mail");
    addApplication(202, "Notes");
    // Three windows of Mail, one of Notes, one of a process that has gone.
    const std::vector<tools::WindowInfo> windows{
        windowOf(101, 1), windowOf(202, 2), windowOf(101, 3), windowOf(999, 4), windowOf(101, 5)};
    const Space space(Space::Fields{.windowList = windows});
    ASSERT_TRUE(space.image());
    // Base 210 without anchor: side 70, step (100 / 2) + 15 = 65.
    EXPECT_EQ(space.image()->size(), (platform::Size{70 + 65, 70}));
    EXPECT_EQ(space.image()->pixelAt(5, 35), tileOf("Mail"));
    EXPECT_EQ(space.image()->pixelAt(67, 35), tileOf("Mail")) << "Mail overlaps Notes";
    EXPECT_EQ(space.image()->pixelAt(130, 35), tileOf("Notes"));

    EXPECT_FALSE(Space().image()) << "no windows";
    EXPECT_FALSE(Space(Space::Fields{.windowList = {windowOf(999, 4)}}).image())
        << "no running application";

    // On a 1920-point screen the base is 249.6, so one icon is 83 square.
    const auto onScreen = spaceOn(addDisplay(1));
    onScreen->setWindowList({windowOf(202, 2)});
    onScreen->rebuildImage();
    ASSERT_TRUE(onScreen->image());
    EXPECT_EQ(onScreen->image()->size(), (platform::Size{83, 83}));
}

TEST_F(SpaceTest, StalePictureIsSepiaUntilRebuiltFresh) {
    addApplication(101, "Mail");
    Space space(Space::Fields{.isStale = true, .windowList = {windowOf(101, 1)}});
    const Space fresh(Space::Fields{.windowList = {windowOf(101, 1)}});
    ASSERT_TRUE(space.image() && fresh.image());
    EXPECT_EQ(space.image()->size(), fresh.image()->size());
    EXPECT_TRUE(isSepia(space.image()->pixelAt(5, 35)));
    EXPECT_NE(space.image()->pixelAt(5, 35), tileOf("Mail"));

    space.setIsStale(false);
    space.rebuildImage();
    EXPECT_EQ(space.image(), fresh.image());
}

TEST_F(SpaceTest, SpacesOfTheSameApplicationsShareAPictureUntilAnIconChanges) {
    addApplication(101, "Mail");
    addApplication(202, "Notes");
    const std::vector<tools::WindowInfo> windows{windowOf(101, 1), windowOf(202, 2)};
    Space first(Space::Fields{.windowList = windows});
    const Space second(Space::Fields{.windowList = windows});
    ASSERT_TRUE(first.image() && second.image());
    EXPECT_EQ(first.image()->contentId(), second.image()->contentId()) << "drawn once";

    desktop.removeApplication(101);
    desktop.addApplication(platform::DesktopApplication{101, "Mail", "com.example.Mail",
                                                        "/Applications/Mail.app", "Stamp"});
    first.rebuildImage();
    ASSERT_TRUE(first.image());
    EXPECT_EQ(first.image()->pixelAt(5, 35), tileOf("Stamp"));
    EXPECT_EQ(first.image()->pixelAt(130, 35), tileOf("Notes"));
}

TEST_F(SpaceTest, EveryChangeACellShowsMovesTheAppearanceCount) {
    Space space;
    const platform::Color color = platform::Color::secondaryLabelColor();
    const std::vector<std::function<void()>> changes{
        [&] { space.setTitle("Mail"); },
        [&] { space.setColor(color); },
        [&] { space.setBorderColor(color); },
        [&] {
            space.setImage(platform::Image(platform::Size{1, 1}));
        },
        [&] {
            space.setBackgroundImage(platform::Image(platform::Size{1, 1}));
        },
        [&] { space.rebuildImage(); },
    };
    for (std::size_t i = 0; i < changes.size(); ++i) {
        const auto before = space.appearanceRevision();
        changes[i]();
        EXPECT_NE(space.appearanceRevision(), before) << "change " << i;
    }
}

TEST_F(SpaceTest, ACellAskedForFollowsEveryChangeOfTheCoordinates) {
    using C = Coordinates;
    Space space;
    EXPECT_FALSE(space.cellOn(1));
    space.setCell(1, C{0, 2});
    EXPECT_EQ(space.cellOn(1), (C{0, 2}));
    space.setCell(1, C{-1, 0});
    EXPECT_FALSE(space.cellOn(1)) << "kept, but not a cell";
    EXPECT_FALSE(space.cellOn(2));
    space.setCoordinates({{2, C{1, 1}}});
    EXPECT_EQ(space.cellOn(2), (C{1, 1}));
    EXPECT_FALSE(space.cellOn(1));
    space.moveCell(2, 1);
    EXPECT_EQ(space.cellOn(1), (C{1, 1}));
    EXPECT_FALSE(space.cellOn(2));
}

TEST_F(SpaceTest, SelectAsksForASwitchByIdentifier) {
    auto& center = platform::NotificationCenter::defaultCenter();
    std::vector<std::any> objects;
    const auto observer = center.addObserver(
        AppNotification::spaceSelected,
        [&](const platform::Notification& note) { objects.push_back(note.object); });
    Space(Space::Fields{.id = "ABCD"}).select();
    Space().select();
    ASSERT_EQ(objects.size(), 2u);
    EXPECT_EQ(std::any_cast<std::string>(objects[0]), "ABCD");
    EXPECT_FALSE(objects[1].has_value());
}

}  // namespace
}  // namespace zelvana::core::test
