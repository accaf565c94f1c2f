#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "GridPanel/EntryOutlineView.hpp"
#include "GridPanel/IBeamView.hpp"
#include "platform/appkit/Cursor.hpp"
#include "platform/appkit/SearchField.hpp"
#include "platform/appkit/Storyboard.hpp"
#include "platform/appkit/ViewController.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/input/Mouse.hpp"
#include "platform/testing/SimulatedInput.hpp"
#include "platform/testing/TwoDisplayTest.hpp"

namespace zelvana::gridpanel {
namespace {

using platform::Cursor;
using platform::Point;
using platform::Rect;

// A key window at (100, 100) on the first display, 300 x 200: in the window
// server's coordinates its top-left corner is at (100, 780).
class EntryViewsTest : public platform::testing::TwoDisplayTest {
protected:
    EntryViewsTest() {
        platform::testing::resetSimulatedInput();
        Cursor::resetForTesting();
        window.setContentView(content);
        window.orderFront(nullptr);
        window.makeKeyWindow();
    }
    ~EntryViewsTest() override { Cursor::resetForTesting(); }

    static void pointAt(Point inWindow) {
        platform::Mouse::shared().moveTo({100 + inWindow.x, 780 + inWindow.y});
    }

    // Borderless: its content's top-left corner is the frame's.
    platform::Window window{Rect::make(100, 100, 300, 200), platform::Window::Style::borderless,
                            platform::Window::BackingStore::buffered, false};
    std::shared_ptr<platform::View> content =
        std::make_shared<platform::View>(Rect::make(0, 0, 300, 200));
};

TEST_F(EntryViewsTest, ThePointerShowsTheIBeamOverTheViewInTheKeyWindow) {
    content->addSubview(std::make_shared<IBeamView>(Rect::make(50, 50, 100, 40)));
    pointAt({20, 20});
    EXPECT_EQ(Cursor::current(), Cursor::arrow());
    pointAt({100, 70});
    EXPECT_EQ(Cursor::current(), Cursor::iBeam());
    pointAt({160, 70});
    EXPECT_EQ(Cursor::current(), Cursor::arrow()) << "off the view, still in the window";

    pointAt({60, 60});
    platform::Mouse::shared().moveTo({1000, 100});
    EXPECT_EQ(Cursor::current(), Cursor::arrow()) << "out of the window";
    window.resignKeyWindow();
    pointAt({60, 60});
    EXPECT_EQ(Cursor::current(), Cursor::arrow()) << "only the key window's rectangles count";
}

TEST_F(EntryViewsTest, FromAStoryboardItTracksThePointerOverItsBounds) {
    const auto file = folders.root() / "Entry.storyboard";
    std::ofstream(file) << R"(<?xml version="1.0" encoding="UTF-8"?>
<plist version="1.0"><dict><key>scenes</key><dict>
  <key>Entry</key><dict><key>class</key><string>ViewController</string>
    <key>view</key><dict><key>class</key><string>IBeamView</string>
      <key>frame</key><array><real>0</real><real>0</real><real>80</real><real>20</real></array>
    </dict></dict>
</dict></dict></plist>)";
    platform::Storyboard::registerClass("IBeamView", [] { return std::make_unique<IBeamView>(); });
    const auto storyboard = platform::Storyboard::loadFile(file);
    ASSERT_TRUE(storyboard);
    const auto controller = std::dynamic_pointer_cast<platform::ViewController>(
        storyboard->instantiateController("Entry"));
    ASSERT_TRUE(controller);
    const auto areas = controller->view()->trackingAreas();
    ASSERT_EQ(areas.size(), 1u);
    EXPECT_EQ(areas[0]->options.rawValue(), 0x222u);
    EXPECT_EQ(areas[0]->rect, Rect::make(0, 0, 80, 20));
}

// Fruit, Bread: plain rows.
struct Items : platform::OutlineViewDataSource {
    const std::string fruit = "Fruit", bread = "Bread";
    int numberOfChildrenOfItem(platform::OutlineItem item) override { return item ? 0 : 2; }
    platform::OutlineItem child(int index, platform::OutlineItem) override {
        return index == 0 ? &fruit : &bread;
    }
    bool isItemExpandable(platform::OutlineItem) override { return false; }
    std::string objectValue(platform::OutlineItem item) override {
        return *static_cast<const std::string*>(item);
    }
};

TEST_F(EntryViewsTest, ClickingTheOutlineSelectsARowAndLeavesTheKeysWithTheField) {
    auto field = std::make_shared<platform::SearchField>();
    field->setFrame(Rect::make(0, 0, 300, 24));
    auto outline = std::make_shared<EntryOutlineView>(Rect::make(0, 30, 300, 100));
    Items items;
    outline->setDataSource(&items);
    outline->reloadData();
    content->addSubview(field);
    content->addSubview(outline);
    window.makeFirstResponder(field.get());

    pointAt({40, 30 + 1.5 * platform::OutlineView::rowHeight});
    platform::Mouse::shared().press(platform::EventType::leftMouseDown);
    platform::Mouse::shared().press(platform::EventType::leftMouseUp);
    EXPECT_EQ(outline->itemAtRow(outline->selectedRow()), &items.bread);
    EXPECT_EQ(window.firstResponder(), field.get());
}

}  // namespace
}  // namespace zelvana::gridpanel
