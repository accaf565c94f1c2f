#include "Tools/PopoverContent.hpp"

#include "platform/appkit/ViewController.hpp"

namespace zelvana::tools::PopoverContent {

using platform::StackView;

std::shared_ptr<platform::Popover> makePopover(const std::shared_ptr<StackView>& stack) {
    auto controller = std::make_shared<platform::ViewController>();
    controller->setView(stack);
    auto popover = std::make_shared<platform::Popover>();
    popover->setBehavior(platform::Popover::Behavior::transient);
    popover->setContentViewController(std::move(controller));
    return popover;
}

std::shared_ptr<StackView> makeStack() {
    auto stack = std::make_shared<StackView>();
    stack->setEdgeInsets({15, 15, 15, 15});
    stack->setHuggingPriority(750, StackView::Orientation::horizontal);
    stack->setHuggingPriority(750, StackView::Orientation::vertical);
    return stack;
}

std::shared_ptr<platform::Label> makeMessageLabel(std::string text) {
    auto label = platform::Label::wrappingLabelWithString(std::move(text), 250);
    label->setLineBreakMode(platform::LineBreakMode::byWordWrapping);
    label->constrainWidth(platform::View::SizeRelation::equal, 250);
    label->constrainHeight(platform::View::SizeRelation::greaterThanOrEqual, 30);
    return label;
}

void show(platform::Popover& popover, platform::View& view, platform::RectEdge preferredEdge) {
    popover.show(platform::Rect{}, view, preferredEdge);
}

}  // namespace zelvana::tools::PopoverContent
