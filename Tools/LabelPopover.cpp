#include "Tools/LabelPopover.hpp"

#include <algorithm>

#include "platform/appkit/StackView.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::tools {

using platform::Rect;
using platform::Window;

namespace {

std::unique_ptr<Window> labelWindow(std::shared_ptr<platform::ViewController> controller) {
    auto window = Window::withContentViewController(std::move(controller));
    window->setLevel(Window::Level::modalPanel);
    window->setStyleMask(window->styleMask() | Window::Style::fullSizeContentView);
    // The content reaches under the title bar now: the window keeps to its size.
    window->setContentSize(window->contentViewController()->view()->frame().size);
    window->setTitleVisibility(Window::TitleVisibility::hidden);
    window->setTitlebarAppearsTransparent(true);
    for (auto button : {Window::ButtonType::close, Window::ButtonType::miniaturize,
                        Window::ButtonType::zoom, Window::ButtonType::toolbar}) {
        window->setStandardWindowButtonHidden(button, true);
    }
    return window;
}

}  // namespace

LabelPopover::LabelPopover(std::string text)
    : labelField_(platform::Label::labelWithString(std::move(text))),
      viewController_(std::make_shared<platform::ViewController>()) {
    platform::assertMainThread();
    const platform::Size fitting = labelField_->fittingSize();
    auto content =
        std::make_shared<platform::View>(Rect::make(0, 0, fitting.width + 10, fitting.height + 10));
    viewController_->setView(content);
    windowController_ = std::make_unique<platform::WindowController>(labelWindow(viewController_));
    auto stack = std::make_shared<platform::StackView>(content->frame());
    stack->addView(labelField_, platform::StackView::Gravity::center);
    content->addSubview(stack);
    stack->layout();
}

void LabelPopover::show(const platform::View& view) {
    platform::assertMainThread();
    const Window* owner = view.window();
    if (!owner) return;
    const Rect inWindow = view.superview()
                              ? view.superview()->convertRectToView(view.frame(), nullptr)
                              : view.frame();
    const Rect onScreen = owner->convertRectToScreen(inWindow);
    const platform::Size size = window().frame().size;
    platform::Point origin{onScreen.maxX() + 20, onScreen.minY() + onScreen.height() / 2};
    // Within the screen's visible frame: up or down along the cell as far as
    // it takes, and to the left of the cell when the right has no room.
    if (const auto screen = owner->screen()) {
        const Rect area = screen->visibleFrame();
        origin.y = std::max(area.minY(), std::min(origin.y, area.maxY() - size.height));
        if (!area.contains(Rect{origin, size})) origin.x = onScreen.minX() - size.width;
        origin.x = std::max(area.minX(), std::min(origin.x, area.maxX() - size.width));
    }
    window().setFrameOrigin(origin);
    windowController_->showWindow(nullptr);
}

}  // namespace zelvana::tools
