#include "GridPanel/ViewHelpers.hpp"

#include <gtest/gtest.h>

#include <memory>

#include "GridPanel/ClickablePlaceholderView.hpp"
#include "platform/appkit/Window.hpp"

namespace zelvana::gridpanel {
namespace {

using platform::Rect;

TEST(ViewHelpersTest, SnapshotPicturesTheViewAndIsEmptyWithoutSize) {
    platform::View view(Rect::make(0, 0, 8, 4));
    view.setWantsLayer(true);
    view.layer()->backgroundColor = platform::Color::rgb(0, 0, 1);
    const auto picture = snapshot(view);
    EXPECT_EQ(picture.size(), (platform::Size{8, 4}));
    EXPECT_EQ(picture.pixelAt(3, 2), (platform::Pixel{0, 0, 255, 255}));

    platform::View empty;
    EXPECT_EQ(snapshot(empty).size(), (platform::Size{0, 0}));
}

TEST(ViewHelpersTest, PlaceholderReportsEveryPress) {
    int presses = 0;
    platform::Window window(Rect::make(0, 0, 20, 20));
    auto view = std::make_shared<ClickablePlaceholderView>([&] { ++presses; });
    view->setFrame(Rect::make(0, 0, 20, 20));
    window.setContentView(view);
    const auto press =
        platform::Event::mouseEvent(platform::EventType::leftMouseDown, {5, 5}, &window);
    window.sendEvent(press);
    window.sendEvent(press);
    EXPECT_EQ(presses, 2);
}

}  // namespace
}  // namespace zelvana::gridpanel
