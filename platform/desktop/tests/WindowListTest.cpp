#include <gtest/gtest.h>

#include <unistd.h>

#include <memory>
#include <vector>

#include "platform/appkit/Window.hpp"
#include "platform/desktop/WindowList.hpp"
#include "platform/desktop/tests/DesktopFixture.hpp"

namespace zelvana::platform {
namespace {

class WindowListTest : public DesktopFixture {
protected:
    WindowListTest() {
        desktop.addApplication(
            {501, "Safari", "com.apple.Safari", "/Applications/Safari.app", "safari"});
        desktop.addApplication({502, "Dock", "com.apple.dock", "/System/Dock.app", "dock"});
        wallpaper = desktop.addWindow(
            {0, 502, "Wallpaper", -2147483624, Rect::make(0, 0, 1920, 1080), 0, true});
        page = desktop.addWindow({0, 501, "Start Page", 0, Rect::make(100, 50, 800, 600)});
        hidden = desktop.addWindow({0, 501, "Downloads", 0, Rect::make(10, 10, 300, 300), 2});
        dock = desktop.addWindow({0, 502, "", 20, Rect::make(0, 1000, 1920, 80), 0, true});
    }

    std::vector<std::int64_t> numbers(const std::optional<PropertyArray>& list) {
        std::vector<std::int64_t> result;
        for (const auto& entry : *list)
            result.push_back(*entry.find(WindowList::windowNumberKey)->integerValue());
        return result;
    }

    WindowNumber wallpaper = 0, page = 0, hidden = 0, dock = 0;
};

TEST_F(WindowListTest, ListsWindowsFrontToBackByLayerThenRecency) {
    Window own(Rect::make(0, 580, 400, 500));  // AppKit frame: top edge at the display's top
    own.setLevel(Window::Level::floating);
    own.setTitle("Grid");
    own.orderFront(nullptr);

    const std::int64_t ownNumber = own.windowNumber();
    EXPECT_EQ(numbers(WindowList::copyWindowInfo(WindowListOption::onScreenOnly, 0)),
              (std::vector<std::int64_t>{dock, ownNumber, page, wallpaper}));
    EXPECT_EQ(numbers(WindowList::copyWindowInfo(
                  WindowListOption::onScreenOnly | WindowListOption::excludeDesktopElements, 0)),
              (std::vector<std::int64_t>{dock, ownNumber, page}));
    EXPECT_EQ(kOnScreenWithoutDesktopElements.rawValue(), 0x11u);
    EXPECT_EQ(numbers(WindowList::copyWindowInfo(WindowListOptions{}, 0)),
              (std::vector<std::int64_t>{dock, ownNumber, hidden, page, wallpaper}));
    own.orderOut(nullptr);
    EXPECT_EQ(numbers(WindowList::copyWindowInfo(WindowListOption::onScreenOnly, 0)),
              (std::vector<std::int64_t>{dock, page, wallpaper}))
        << "ours, hidden, is off screen";

    EXPECT_TRUE(desktop.orderFrontWindow(hidden));
    switchTo(2);
    EXPECT_EQ(numbers(WindowList::copyWindowInfo(WindowListOption::onScreenOnly, 0)),
              (std::vector<std::int64_t>{dock, hidden, wallpaper}));
    EXPECT_EQ(numbers(WindowList::copyWindowInfo(WindowListOption::onScreenBelowWindow, dock)),
              (std::vector<std::int64_t>{hidden, wallpaper}));
    EXPECT_EQ(
        numbers(WindowList::copyWindowInfo(
            WindowListOption::onScreenAboveWindow | WindowListOption::includingWindow, hidden)),
        (std::vector<std::int64_t>{dock, hidden}));
    EXPECT_FALSE(WindowList::copyWindowInfo(WindowListOption::onScreenAboveWindow, 9999));
}

TEST_F(WindowListTest, DescriptionsCarryTheWindowServersKeys) {
    Window own(Rect::make(0, 580, 400, 500));
    own.orderFront(nullptr);
    const auto list =
        WindowList::createDescriptionFromArray({page, own.windowNumber(), hidden, 9999});
    ASSERT_EQ(list->size(), 3u);

    const PropertyValue& safari = (*list)[0];
    EXPECT_EQ(*safari.find(WindowList::windowLayerKey)->integerValue(), 0);
    EXPECT_EQ(*safari.find(WindowList::windowOwnerPIDKey)->integerValue(), 501);
    EXPECT_EQ(*safari.find(WindowList::windowOwnerNameKey)->stringValue(), "Safari");
    EXPECT_EQ(*safari.find(WindowList::windowNameKey)->stringValue(), "Start Page");
    EXPECT_EQ(*safari.find(WindowList::windowIsOnscreenKey)->boolValue(), true);
    const PropertyValue* bounds = safari.find(WindowList::windowBoundsKey);
    EXPECT_EQ(*bounds->find("X")->realValue(), 100.0);
    EXPECT_EQ(*bounds->find("Y")->realValue(), 50.0);
    EXPECT_EQ(*bounds->find("Width")->realValue(), 800.0);

    // Our windows' AppKit frames turn into top-left bounds.
    const PropertyValue& ours = (*list)[1];
    EXPECT_EQ(*ours.find(WindowList::windowOwnerPIDKey)->integerValue(), ::getpid());
    EXPECT_EQ(*ours.find(WindowList::windowBoundsKey)->find("Y")->realValue(), 0.0);
    EXPECT_EQ(ours.find(WindowList::windowNameKey), nullptr);  // untitled

    // Off screen: the on-screen key is left out, as the window server does.
    EXPECT_EQ((*list)[2].find(WindowList::windowIsOnscreenKey), nullptr);
    EXPECT_EQ(desktop.frameFromBounds(Rect::make(100, 50, 800, 600)),
              Rect::make(100, 430, 800, 600));
}

TEST_F(WindowListTest, CountsQueriesAndForgetsRemovedWindows) {
    const int before = desktop.windowListQueryCount();
    WindowList::copyWindowInfo(WindowListOption::onScreenOnly, 0);
    WindowList::createDescriptionFromArray({page});
    EXPECT_EQ(desktop.windowListQueryCount(), before + 2);

    EXPECT_EQ(desktop.window(hidden)->space, 2u);
    EXPECT_EQ(desktop.window(page)->space, 1u);  // placed on the shown space
    EXPECT_TRUE(desktop.removeApplication(501));
    EXPECT_FALSE(desktop.window(page));
    EXPECT_EQ(numbers(WindowList::copyWindowInfo(WindowListOptions{}, 0)),
              (std::vector<std::int64_t>{dock, wallpaper}));
    EXPECT_EQ(desktop.application(502)->bundleIdentifier, "com.apple.dock");
    EXPECT_FALSE(desktop.application(501));
}

TEST_F(WindowListTest, WindowsGoneFromAmongOthersLeaveTheRestFoundByNumber) {
    Window first(Rect::make(0, 580, 400, 500));
    auto middle = std::make_unique<Window>(Rect::make(0, 580, 400, 500));
    Window last(Rect::make(500, 580, 400, 500));
    for (Window* window : {&first, middle.get(), &last}) window->orderFront(nullptr);
    middle.reset();
    EXPECT_TRUE(desktop.removeWindow(page));
    EXPECT_EQ(desktop.applicationWindows(), (std::vector<Window*>{&first, &last}))
        << "ours stay in the order they were made";

    const std::int64_t lastNumber = last.windowNumber();
    const std::int64_t firstNumber = first.windowNumber();
    const auto list = WindowList::copyWindowInfo(WindowListOption::onScreenOnly, 0);
    EXPECT_EQ(numbers(list), (std::vector<std::int64_t>{dock, lastNumber, firstNumber, wallpaper}));
    EXPECT_EQ(*(*list)[1].find(WindowList::windowOwnerPIDKey)->integerValue(), ::getpid());
    EXPECT_TRUE(last.isOnActiveSpace());
    EXPECT_EQ(desktop.spaceOf(last), 1u);
    EXPECT_EQ(desktop.window(hidden)->name, "Downloads");
}

TEST(WindowBoundsTest, ReadOnlyFromADictionaryOfFourNumbers) {
    const PropertyDictionary bounds{{"X", 10}, {"Y", 2.5}, {"Width", 300}, {"Height", 200}};
    EXPECT_EQ(rectFromDictionaryRepresentation(bounds), Rect::make(10, 2.5, 300, 200));
    auto withoutHeight = bounds;
    withoutHeight.erase("Height");
    auto textWidth = bounds;
    textWidth["Width"] = "300";
    for (const PropertyValue& broken : {PropertyValue(withoutHeight), PropertyValue(textWidth),
                                        PropertyValue(10), PropertyValue(PropertyArray{})}) {
        EXPECT_EQ(rectFromDictionaryRepresentation(broken), std::nullopt);
    }
}

}  // namespace
}  // namespace zelvana::platform
