#include "DropPane/LabelPopover.hpp"

#include "platform/appkit/StackView.hpp"

namespace zelvana::droppane {

using platform::Rect;
using platform::Window;

namespace {

std::shared_ptr<platform::ViewController> labelController(
    const std::shared_ptr<platform::Label>& label) {
    auto controller = std::make_shared<platform::ViewController>();
    const auto fitting = label->fittingSize();
    controller->view()->setFrameSize({fitting.width + 10, fitting.height + 10});
    auto stack = std::make_shared<platform::StackView>(controller->view()->bounds());
    stack->addView(label, platform::StackView::Gravity::center);
    controller->view()->addSubview(stack);
    return controller;
}

std::unique_ptr<Window> labelWindow(std::shared_ptr<platform::ViewController> controller) {
    auto window = Window::withContentViewController(std::move(controller));
    window->setLevel(Window::Level::modalPanel);
    window->setStyleMask(window->styleMask() | Window::Style::fullSizeContentView);
    window->setTitleVisibility(Window::TitleVisibility::hidden);
    window->setTitlebarAppearsTransparent(true);
    for (auto button :
         {Window::ButtonType::close, Window::ButtonType::miniaturize, Window::ButtonType::zoom}) {
        window->setStandardWindowButtonHidden(button, true);
    }
    return window;
}

bool containsRect(Rect outer, Rect inner) {
    return inner.minX() >= outer.minX() && inner.maxX() <= outer.maxX() &&
           inner.minY() >= outer.minY() && inner.maxY() <= outer.maxY();
}

}  // namespace

LabelPopover::LabelPopover(const std::string& text)
    : viewController(labelController(platform::Label::labelWithString(text))),
      windowController(std::make_shared<platform::WindowController>(labelWindow(viewController))),
      labelField(std::dynamic_pointer_cast<platform::Label>(
          viewController->view()->subviews().front()->subviews().front())) {}

void LabelPopover::show(const platform::View& view) {
    const Window* owner = view.window();
    if (!owner) return;
    const Rect inWindow = view.superview()
                              ? view.superview()->convertRectToView(view.frame(), nullptr)
                              : view.frame();
    const Rect onScreen = owner->convertRectToScreen(inWindow);
    Window& popover = window();
    platform::Point origin{onScreen.maxX() + 20, onScreen.minY() + onScreen.height() / 2};
    popover.setFrameOrigin(origin);
    const auto screen = owner->screen();
    if (screen && !containsRect(screen->frame(), popover.frame())) {
        origin.x = onScreen.minX() - popover.frame().width();
        popover.setFrameOrigin(origin);
    }
    windowController->showWindow(nullptr);
}

void LabelPopover::close() {
    window().close();
}

}  // namespace zelvana::droppane
