#include "DropPane/DropPaneViewController.hpp"

#include "platform/core/MainThread.hpp"

namespace zelvana::droppane {

using platform::StackView;
using platform::VisualEffectView;

bool DropPaneViewController::setOutlet(const std::string& name,
                                       const std::shared_ptr<platform::StoryboardObject>& object) {
    if (name == "visEffectView") {
        visEffectView_ = std::dynamic_pointer_cast<VisualEffectView>(object);
        return visEffectView_ != nullptr;
    }
    if (name == "stackView") {
        auto stack = std::dynamic_pointer_cast<StackView>(object);
        stackView_ = stack;
        return stack != nullptr;
    }
    return false;
}

void DropPaneViewController::viewDidLoad() {
    if (!visEffectView_) return;
    visEffectView_->setState(VisualEffectView::State::active);
    visEffectView_->setBlendingMode(VisualEffectView::BlendingMode::withinWindow);
    visEffectView_->setMaterial(VisualEffectView::Material::popover);
}

void DropPaneViewController::setOptions(DropPaneOptions options) {
    platform::assertMainThread();
    options_ = std::move(options);
    reloadUnits();
}

void DropPaneViewController::reloadUnits() {
    platform::assertMainThread();
    const auto stack = stackView();
    if (!stack || !options_) return;
    stack->setOrientation(stacksVertically(options_->location)
                              ? StackView::Orientation::vertical
                              : StackView::Orientation::horizontal);
    const auto old = stack->subviews();
    for (const auto& view : old) {
        stack->removeArrangedSubview(view.get());
        view->removeFromSuperview();
    }
    for (const auto& unit : options_->dropUnits) {
        auto view = std::make_shared<DropUnitStackView>();
        view->configure(unit, options_->showTitles, options_->tintColor, options_->dropUnitSize,
                        options_->dropUnitPadding.width);
        stack->addArrangedSubview(view);
    }
}

std::vector<std::shared_ptr<DropUnitStackView>> DropPaneViewController::unitViews() const {
    std::vector<std::shared_ptr<DropUnitStackView>> views;
    const auto stack = stackView();
    if (!stack) return views;
    for (const auto& view : stack->arrangedSubviews()) {
        if (auto unit = std::dynamic_pointer_cast<DropUnitStackView>(view)) views.push_back(unit);
    }
    return views;
}

void DropPaneViewController::updateHover() {
    platform::assertMainThread();
    for (const auto& view : unitViews()) {
        if (!view->dropUnit() || !view->dropUnit()->mouseUp) continue;
        view->setReceivingDrag(view->containsPointer());
    }
}

}  // namespace zelvana::droppane
