#include "Tools/ScrollOverlayWindow.hpp"

#include <memory>

namespace zelvana::tools {

using platform::Window;

ScrollOverlayWindow::ScrollOverlayWindow(ScrollOverlayView::ScrollCallback scrollCallback)
    : Window(platform::Rect{}, Window::Style::titled, Window::BackingStore::buffered, false) {
    setTitle("Overlay");
    setOpaque(false);
    setLevel(Window::Level::statusBar);
    setHasShadow(false);
    setIgnoresMouseEvents(false);
    setStyleMask(styleMask() | Window::Style::fullSizeContentView);
    setCollectionBehavior(collectionBehavior() | Window::CollectionBehavior::transient);
    setBackgroundColor(platform::Color::clear());
    setContentView(std::make_shared<ScrollOverlayView>(std::move(scrollCallback)));
}

}  // namespace zelvana::tools
