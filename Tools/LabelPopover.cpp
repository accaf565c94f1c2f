#include "Tools/LabelPopover.hpp"

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
    platform::Point origin{onScreen.maxX() + 20, onScreen.minY() + onScreen.height() / 2};
    const auto screen = owner->screen();
    if (screen && !screen->frame().contains(Rect{origin, window().frame().size})) {
        origin.x = onScreen.minX() - window().frame().width();
    }
    window().setFrameOrigin(origin);
    windowController_->showWindow(nullptr);
}

}  // namespace zelvana::tools
