#include <gtest/gtest.h>

#include <fstream>

#include "GridPanel/GridPanelWindowController.hpp"
#include "GridPanel/GridUnitStackView.hpp"
#include "Zelvana/Driver/CommandInput.hpp"
#include "Zelvana/Driver/DesktopReport.hpp"
#include "Zelvana/Driver/Snapshot.hpp"
#include "Zelvana/GlobalDefaults.hpp"
#include "Zelvana/tests/HubFixture.hpp"
#include "gestures/Gestures.hpp"
#include "input/ModifierTrigger.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/View.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/simulator/Desktop.hpp"

namespace zelvana::driver::test {
namespace {

using platform::Modifier;

// The real hub and its status item, seen and driven through the command lines.
class ScreenTest : public core::test::HubFixture {
protected:
    void begin(int spaces = 3) {
        start(spaces);
        core::StatusItem::shared().setupStatusItem();
        input.watchScreen();
        printed.clear();
    }
    void run(std::initializer_list<const char*> lines) {
        for (const char* line : lines) input.handleTerminalLine(line);
    }
    // The panel a tap of a modifier-less "show" opens.
    platform::Window* tapShow() {
        setShow(spaceKey, {});
        run({"press space"});
        clock.runPending();
        return openPanel();
    }

    std::vector<std::string> printed;
    std::vector<std::string> errors;
    CommandInput input{[] {}, [this](const std::string& line) { printed.push_back(line); },
                       [this](const std::string& line) { errors.push_back(line); }};
};

TEST_F(ScreenTest, TheMenuPrintsItsItemsAndAPickSwitches) {
    begin();
    run({"menu"});
    EXPECT_EQ(printed,
              (std::vector<std::string>{
                  "menu: \xE2\x9C\x93 1", "menu: 2", "menu: 3", "menu: ---", "menu: Show Zelvana",
                  "menu: ---", "menu: Settings\xE2\x80\xA6", "menu: About", "menu: Quit Zelvana"}));
    run({"menu 3"});
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[2]);
    EXPECT_FALSE(platform::Menu::trackingMenu()) << "a pick closes the menu";

    printed.clear();
    run({"down opt", "menu"});
    EXPECT_NE(std::find(printed.begin(), printed.end(), "menu: Advanced > Clear All Spaces"),
              printed.end());
    EXPECT_EQ(std::find(printed.begin(), printed.end(), "menu: About"), printed.end())
        << "Advanced stands in for About while option is held";
    run({"up opt", "menu Nope"});
    EXPECT_EQ(errors, std::vector<std::string>{"terminal line 6: the menu has no item \"Nope\""});
    EXPECT_FALSE(platform::Menu::trackingMenu());
}

TEST_F(ScreenTest, EveryItemOfAMenuTallerThanTheScreenIsReachedByTheKeysOrThePointer) {
    begin(45);
    run({"menu 45"});  // below the screen's edge: the arrow keys bring it
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[44]);

    // The pointer rests on the bottom arrow until the end shows.
    run({"menu"});
    const auto* menu = platform::Menu::trackingMenu();
    ASSERT_TRUE(menu && menu->frame());
    const auto arrow = platform::Rect::make(menu->frame()->midX(), menu->frame()->minY() + 2, 0, 0);
    const auto at = platform::Desktop::shared().boundsFromFrame(arrow).origin;
    input.handleTerminalLine("move " + std::to_string(at.x) + " " + std::to_string(at.y));
    clock.advance(5000);
    ASSERT_TRUE(menu->frameOfItem(*menu->itemWithTitle("44")));
    run({"menu 44"});
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[43]);
    EXPECT_TRUE(errors.empty()) << errors.front();
}

TEST_F(ScreenTest, ThePanelAndTheStatusTitlePrintTheirChanges) {
    begin();
    setShow(spaceKey, Modifier::command);
    run({"panel", "down cmd", "press space"});
    clock.runPending();
    input.checkScreen();
    run({"press space", "panel"});
    EXPECT_EQ(errors, std::vector<std::string>{"terminal line 1: the panel is not open"});
    EXPECT_EQ(printed, (std::vector<std::string>{
                           "panel: open", "panel: row 1: 1 (current) | 2 (highlighted) | 3"}));
    printed.clear();
    run({"up cmd"});
    clock.advance(settleTime);
    input.checkScreen();
    core::GlobalDefaults::menuBarSpaceNumber().setValue(settings::OptionalBool::userEnabled);
    input.checkScreen();
    EXPECT_EQ(printed,
              (std::vector<std::string>{"panel: closed", "display 1 \"Display\": space 2 of 3",
                                        "status: \"2\xE2\x83\xA3\""}));
}

// The picture's size, from its PNG header.
std::pair<int, int> pngSize(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    unsigned char header[24] = {};
    file.read(reinterpret_cast<char*>(header), sizeof header);
    const auto at = [&](int k) {
        return (header[k] << 24) | (header[k + 1] << 16) | (header[k + 2] << 8) | header[k + 3];
    };
    return {at(16), at(20)};
}

TEST_F(ScreenTest, ASnapshotPicturesTheWholeDisplay) {
    begin();
    const auto path = folders.path("screen.png");
    input.handleTerminalLine("snapshot " + path.string());
    EXPECT_EQ(pngSize(path), (std::pair{1920, 1080}));
    EXPECT_EQ(printed, std::vector<std::string>{"snapshot: " + path.string()});
    run({"snapshot /no/such/folder/x.png", "snapshot x.png 9"});
    EXPECT_EQ(errors,
              (std::vector<std::string>{"terminal line 2: cannot write /no/such/folder/x.png",
                                        "terminal line 3: there is no display 9"}));
}

TEST_F(ScreenTest, AnotherApplicationsWindowHidesTheOneBehindIt) {
    begin();
    platform::DesktopWindow behind;
    behind.name = "Behind";
    behind.bounds = platform::Rect::make(300, 300, 400, 300);
    platform::DesktopWindow front;
    front.bounds = platform::Rect::make(200, 200, 800, 600);
    desktop.addWindow(behind);
    desktop.addWindow(front);  // in front of the first
    const auto picture = Snapshot::picture(1);
    ASSERT_TRUE(picture);
    const platform::Pixel content = picture->pixelAt(900, 700);
    EXPECT_EQ(picture->pixelAt(314, 314), content) << "the close button behind";
    EXPECT_EQ(picture->pixelAt(640, 314), content) << "the title bar behind";
}

// The open panel's cell at `index` in reading order, its centre as "<x> <y>"
// in the desktop file's coordinates.
std::string cellCentre(platform::Window& panel, std::size_t index) {
    std::vector<platform::View*> cells;
    std::function<void(platform::View&)> walk = [&](platform::View& view) {
        if (dynamic_cast<gridpanel::GridUnitStackView*>(&view)) cells.push_back(&view);
        for (const auto& sub : view.subviews()) walk(*sub);
    };
    walk(*panel.contentView());
    if (index >= cells.size()) return "";
    const auto inWindow = cells[index]->convertRectToView(cells[index]->bounds(), nullptr);
    const auto global =
        platform::Desktop::shared().boundsFromFrame(panel.convertRectToScreen(inWindow));
    return std::to_string(global.minX() + global.width() / 2) + " " +
           std::to_string(global.minY() + global.height() / 2);
}

TEST_F(ScreenTest, AClickOnAPanelCellSwitchesToItsSpace) {
    begin();
    auto* panel = tapShow();
    ASSERT_TRUE(panel);
    input.handleTerminalLine("click " + cellCentre(*panel, 2));
    clock.advance(settleTime);
    EXPECT_EQ(shown(), spaces()[2]);
    EXPECT_TRUE(errors.empty());
}

TEST_F(ScreenTest, ACellHeldOverAnotherPlacePrintsWhereItWouldLand) {
    begin();
    auto* panel = tapShow();
    ASSERT_TRUE(panel);
    const auto third = cellCentre(*panel, 2);
    input.handleTerminalLine("mouse down " + cellCentre(*panel, 0));
    input.handleTerminalLine("move " + third);
    clock.runPending();
    printed.clear();
    run({"panel"});
    EXPECT_EQ(printed, std::vector<std::string>{"panel: row 1: 1 | 2 | (target)"});
    run({"mouse up", "panel"});
    EXPECT_EQ(printed.back(), "panel: row 1: 1 | 2 | 3 (current) (highlighted)")
        << "the current space moved to the end";
    EXPECT_TRUE(errors.empty());
}

}  // namespace
}  // namespace zelvana::driver::test
