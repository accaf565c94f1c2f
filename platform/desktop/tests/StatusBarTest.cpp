#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/appkit/Font.hpp"
#include "platform/appkit/Menu.hpp"
#include "platform/appkit/StatusBar.hpp"
#include "platform/appkit/StatusItem.hpp"
#include "platform/appkit/TextLayout.hpp"
#include "platform/desktop/tests/DesktopFixture.hpp"

namespace zelvana::platform {
namespace {

class StatusBarTest : public DesktopFixture {
protected:
    StatusBarTest() { bar().resetForTesting(); }
    ~StatusBarTest() override {
        if (Menu* open = Menu::trackingMenu()) open->endTracking();
    }
    static StatusBar& bar() { return *StatusBar::system(); }
    Screen screen(DisplayID number) { return desktop.display(number)->screen(); }
};

TEST_F(StatusBarTest, ThereIsNoStatusBarWithoutAWindowServer) {
    WindowServer* server = WindowServer::install(nullptr);
    EXPECT_EQ(StatusBar::system(), nullptr);
    WindowServer::install(server);
    EXPECT_NE(StatusBar::system(), nullptr);
}

TEST_F(StatusBarTest, ItemsLineUpFromTheRightOfEveryMenuBarOldestRightmost) {
    EXPECT_EQ(screen(1).menuBarHeight(), 24);
    auto fixed = bar().statusItem(30);
    auto square = bar().statusItem(StatusItem::squareLength);
    auto hidden = bar().statusItem(40);
    hidden->setVisible(false);
    auto newest = bar().statusItem(20);

    // Display 1 is 1920 wide and 1080 high: the bar is y 1056-1080, items
    // end 10 from the right with 8 between them.
    EXPECT_EQ(fixed->buttonFrame(screen(1)), Rect::make(1880, 1056, 30, 24));
    EXPECT_EQ(square->buttonFrame(screen(1)), Rect::make(1848, 1056, 24, 24));
    EXPECT_EQ(hidden->buttonFrame(screen(1)), std::nullopt);
    EXPECT_EQ(newest->buttonFrame(screen(1)), Rect::make(1820, 1056, 20, 24));
    // Display 2 starts at x 1920 and is 1024 high.
    EXPECT_EQ(fixed->buttonFrame(screen(2)), Rect::make(3160, 1000, 30, 24));
    EXPECT_EQ(square->button()->bounds(), Rect::make(0, 0, 24, 24));

    square.reset();  // released items leave the bar
    EXPECT_EQ(bar().items().size(), 3u);
    EXPECT_EQ(newest->buttonFrame(screen(1)), Rect::make(1852, 1056, 20, 24));
}

TEST_F(StatusBarTest, TheButtonsWindowFollowsItsPlaceOnTheMainDisplay) {
    auto older = bar().statusItem(30);
    auto item = bar().statusItem(StatusItem::variableLength);
    Window& window = *item->window();
    EXPECT_EQ(item->button()->window(), &window);
    EXPECT_FALSE(window.canBecomeKeyWindow());
    EXPECT_EQ(window.frame(), Rect::make(1860, 1056, 12, 24));
    EXPECT_TRUE(window.isVisible());

    item->button()->setTitle("12");  // wider, so it moves left
    EXPECT_EQ(window.frame().minX(), 1872 - window.frame().width());
    older->setVisible(false);  // the room it took is free again
    EXPECT_EQ(window.frame().maxX(), 1910);
    item->setVisible(false);
    EXPECT_FALSE(window.isVisible());
}

TEST_F(StatusBarTest, AVariableItemIsAsWideAsItsImageAndTitle) {
    auto item = bar().statusItem(StatusItem::variableLength);
    EXPECT_EQ(item->buttonSize(), (Size{12, 24}));
    item->button()->setImage(Image(Size{18, 18}));
    EXPECT_EQ(item->buttonSize(), (Size{30, 24}));
    item->button()->setImage(std::nullopt);
    item->button()->setTitle("3\u20E3");  // a digit in its keycap: one key wide
    const double key = TextLayout("3\u20E3", StatusItem::menuBarFont()).size().width;
    EXPECT_DOUBLE_EQ(item->buttonSize().width, 12 + key);
    EXPECT_LT(key, TextLayout("33", StatusItem::menuBarFont()).size().width);
}

TEST_F(StatusBarTest, AClickOpensTheItemsMenuEvenWhileTheItemIsHidden) {
    auto item = bar().statusItem(StatusItem::variableLength);
    auto menu = std::make_shared<Menu>("status");
    item->setMenu(menu);
    item->setVisible(false);
    EXPECT_TRUE(item->button()->performClick());
    EXPECT_EQ(Menu::trackingMenu(), menu.get());
}

// Answers every drag with a copy and records what it heard.
class Destination : public DraggingDestination {
public:
    DragOperations draggingEntered(const DraggingInfo&) override {
        heard.push_back("entered");
        return DragOperation::copy;
    }
    DragOperations draggingUpdated(const DraggingInfo&) override {
        heard.push_back("updated");
        return DragOperation::copy;
    }
    void draggingExited(const DraggingInfo*) override { heard.push_back("exited"); }
    bool prepareForDragOperation(const DraggingInfo&) override {
        heard.push_back("prepare");
        return true;
    }
    std::vector<std::string> heard;
};

TEST_F(StatusBarTest, OnlyDragsOfARegisteredTypeReachTheDestination) {
    auto item = bar().statusItem(StatusItem::variableLength);
    Destination destination;
    StatusBarButton& button = *item->button();
    button.registerForDraggedTypes({kPasteboardTypeFileURL});
    button.setDraggingDestination(&destination);

    Pasteboard text;
    PasteboardItem words;
    words.setString("hello", kPasteboardTypeString);
    text.writeObjects({words});
    EXPECT_EQ(button.dragEntered(DraggingInfo(text)), DragOperations(DragOperation::none));
    button.dragExited(DraggingInfo(text));
    EXPECT_TRUE(destination.heard.empty());

    Pasteboard files;
    PasteboardItem file;
    file.setString("file:///tmp/a.txt", kPasteboardTypeFileURL);
    files.writeObjects({words, file});
    EXPECT_EQ(button.dragEntered(DraggingInfo(files)), DragOperations(DragOperation::copy));
    button.dragMoved(DraggingInfo(files));
    // No perform: the drop is refused after the destination prepared.
    EXPECT_FALSE(button.dragDropped(DraggingInfo(files)));
    button.dragExited(DraggingInfo(files));  // the drag ended with the drop
    EXPECT_EQ(destination.heard, (std::vector<std::string>{"entered", "updated", "prepare"}));
}

}  // namespace
}  // namespace zelvana::platform
