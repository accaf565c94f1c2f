#include "GridPanel/EntrySearchButton.hpp"

#include "platform/core/MainThread.hpp"

namespace zelvana::gridpanel {

EntrySearchButton::EntrySearchButton(platform::Rect frame) {
    setFrame(frame);
    setCell(std::make_unique<EntrySearchButtonCell>(image()));
}

EntrySearchButton::~EntrySearchButton() {
    if (menu_ && menu_->delegate() == this) menu_->setDelegate(nullptr);
}

EntrySearchButtonCell* EntrySearchButton::entryCell() const {
    return dynamic_cast<EntrySearchButtonCell*>(cell());
}

bool EntrySearchButton::longPress() const {
    const auto* own = entryCell();
    return own && own->longPress();
}

void EntrySearchButton::setLongPress(bool longPress) {
    if (auto* own = entryCell()) own->setLongPress(longPress);
}

void EntrySearchButton::highlight(bool flag) {
    platform::assertMainThread();
    platform::mainQueue().async([weak = weak_.ref(), flag] {
        if (auto* self = weak.get()) {
            self->cell()->highlight(flag, self->frame(), self->cell()->controlView());
        }
    });
}

void EntrySearchButton::mouseDown(const platform::Event& event) {
    platform::assertMainThread();
    if (menu_ && !menu_->delegate()) menu_->setDelegate(this);
    const bool leftDown = event.type == platform::EventType::leftMouseDown;
    cell()->setMenu(menu_ && leftDown ? menu_ : nullptr);
    Button::mouseDown(event);
    if (menu_) highlight(true);
}

void EntrySearchButton::mouseUp(const platform::Event& event) {
    platform::assertMainThread();
    auto* own = entryCell();
    if (!menu_ || !own) {
        Button::mouseUp(event);
        return;
    }
    // Released before the menu opened: a plain click.
    if (own->cancelWorkItem()) {
        performClick();
        highlight(false);
    }
}

void EntrySearchButton::menuDidClose(platform::Menu& /*menu*/) {
    highlight(false);
}

}  // namespace zelvana::gridpanel
