#include "Tools/ScrollOverlayUI.hpp"

#include <algorithm>

#include "platform/core/MainThread.hpp"

namespace zelvana::tools {

ScrollOverlayUI::ScrollOverlayUI(ScrollOverlayView::ScrollCallback scrollCallback)
    : scrollCallback_(std::move(scrollCallback)) {}

void ScrollOverlayUI::open() {
    platform::assertMainThread();
    for (const auto& screen : platform::Screen::screens()) {
        isOpen_ = true;
        cover(screen);
    }
}

void ScrollOverlayUI::open(const platform::Screen& screen) {
    platform::assertMainThread();
    isOpen_ = true;
    cover(screen);
}

void ScrollOverlayUI::close() {
    platform::assertMainThread();
    isOpen_ = false;
    for (auto& [screen, window] : overlayWindows_) window->orderOut(nullptr);
    // Moved out first: releasing a window may run code that looks at the list.
    auto released = std::exchange(overlayWindows_, {});
}

void ScrollOverlayUI::cover(const platform::Screen& screen) {
    auto existing = std::find_if(overlayWindows_.begin(), overlayWindows_.end(),
                                 [&](const auto& entry) { return entry.first == screen; });
    ScrollOverlayWindow* window = nullptr;
    std::unique_ptr<ScrollOverlayWindow> created;
    if (existing != overlayWindows_.end()) {
        window = existing->second.get();
    } else {
        created = std::make_unique<ScrollOverlayWindow>(scrollCallback_);
        window = created.get();
    }
    window->setFrame(screen.frame());
    window->orderFront(nullptr);
    if (created) overlayWindows_.emplace_back(screen, std::move(created));
}

}  // namespace zelvana::tools
