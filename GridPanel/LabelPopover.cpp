#include "GridPanel/LabelPopover.hpp"

#include "platform/appkit/StackView.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

using platform::Rect;
using platform::Window;

namespace {

bool holds(Rect outer, Rect inner) {
    return inner.minX() >= outer.minX() && inner.maxX() <= outer.maxX() &&
           inner.minY() >= outer.minY() && inner.maxY() <= outer.maxY();
}

}  // namespace

LabelPopover::LabelPopover(std::string label)
    : labelField_(platform::Label::labelWithString(std::move(label))),
      viewController_(std::make_shared<platform::ViewController>()) {
    platform::assertMainThread();
    const platform::Size fitting = labelField_->fittingSize();
    auto content =
        std::make_shared<platform::View>(Rect::make(0, 0, fitting.width + 10, fitting.height + 10));
    viewController_->setView(content);
    auto window = Window::withContentViewController(viewController_);
    window->setLevel(Window::Level::modalPanel);
    window->setStyleMask(window->styleMask() | Window::StyleMask::fullSizeContentView);
    window_ = window.get();
    windowController_ = std::make_unique<platform::WindowController>(std::move(window));
    auto stack = std::make_shared<platform::StackView>(content->frame());
    stack->addView(labelField_, platform::StackView::Gravity::center);
    content->addSubview(stack);
    stack->layout();
}

void LabelPopover::show(platform::View& view) {
    platform::assertMainThread();
    Window* viewWindow = view.window();
    if (!viewWindow) return;
    const Rect r = viewWindow->convertRectToScreen(view.convertRectToView(view.bounds(), nullptr));
    platform::Point origin{r.maxX() + 20, r.minY() + r.height() / 2};
    const auto screen = viewWindow->screen();
    if (screen && !holds(screen->frame(), Rect{origin, window_->frame().size})) {
        origin.x = r.minX() - window_->frame().width();
    }
    window_->setFrameOrigin(origin);
    windowController_->showWindow(nullptr);
}

}  // namespace zelvana::gridpanel
