#include "Zelvana/Driver/Controls.hpp"

#include <unistd.h>

#include <cmath>
#include <functional>
#include <optional>

#include "GridPanel/GridPanelWindow.hpp"
#include "KeyboardShortcuts/RecorderField.hpp"
#include "Zelvana/Driver/DesktopReport.hpp"
#include "platform/appkit/AlertPanel.hpp"
#include "platform/appkit/PopUpButton.hpp"
#include "platform/appkit/Slider.hpp"
#include "platform/appkit/StatusItem.hpp"
#include "platform/appkit/TextField.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/desktop/WindowList.hpp"
#include "platform/simulator/Desktop.hpp"
#include "switcher/SpaceAnchor.hpp"

namespace zelvana::driver {

namespace {

using Kind = Control::Kind;

std::optional<Kind> kindOf(const platform::View& view) {
    if (dynamic_cast<const keyboardshortcuts::RecorderField*>(&view)) return Kind::recorder;
    if (dynamic_cast<const platform::PopUpButton*>(&view)) return Kind::popup;
    if (const auto* button = dynamic_cast<const platform::Button*>(&view)) {
        using Type = platform::Button::ButtonType;
        const auto type = button->buttonType();
        return type == Type::checkbox || type == Type::radio ? Kind::checkbox : Kind::button;
    }
    if (dynamic_cast<const platform::Slider*>(&view)) return Kind::slider;
    if (const auto* field = dynamic_cast<const platform::TextField*>(&view)) {
        return field->isEditable() ? Kind::field : Kind::label;
    }
    return std::nullopt;
}

bool goesByRowLabel(Kind kind) {
    return kind == Kind::popup || kind == Kind::recorder || kind == Kind::field ||
           kind == Kind::slider;
}

std::string ownName(const platform::View& view) {
    if (const auto* button = dynamic_cast<const platform::Button*>(&view)) return button->title();
    if (const auto* field = dynamic_cast<const platform::TextField*>(&view)) {
        std::string text = field->stringValue();
        for (auto& c : text) {
            if (c == '\n') c = ' ';
        }
        return text;
    }
    return "";
}

// The label nearest to the left of the control whose height spans its middle.
std::string rowLabel(const Control& control, const std::vector<Control>& all) {
    const double middle = control.bounds.minY() + control.bounds.height() / 2;
    const Control* nearest = nullptr;
    for (const auto& other : all) {
        const auto& b = other.bounds;
        if (other.kind != Kind::label || b.maxX() > control.bounds.minX() + 1 ||
            middle < b.minY() || middle > b.maxY()) {
            continue;
        }
        if (!nearest || b.maxX() > nearest->bounds.maxX()) nearest = &other;
    }
    return nearest ? nearest->name : "";
}

void collect(platform::View& view, platform::Window& window, std::vector<Control>& into) {
    if (view.isHidden()) return;
    if (const auto kind = kindOf(view)) {
        const auto inWindow = view.convertRectToView(view.bounds(), nullptr);
        const auto bounds =
            platform::Desktop::shared().boundsFromFrame(window.convertRectToScreen(inWindow));
        into.push_back({*kind, ownName(view), &view, bounds});
        return;
    }
    for (const auto& subview : view.subviews()) collect(*subview, window, into);
}

// Windows that are no place for a person's clicks: the panel, the anchors
// and the status item's.
bool isWorkWindow(platform::Window& window) {
    if (dynamic_cast<gridpanel::GridPanelWindow*>(&window)) return false;
    if (dynamic_cast<switcher::SpaceAnchor*>(&window)) return false;
    const auto* item = ourStatusItem();
    return !(item && item->window() == &window);
}

platform::Window* ourWindowNumbered(std::int64_t number) {
    for (auto* window : platform::Desktop::shared().applicationWindows()) {
        if (static_cast<std::int64_t>(window->windowNumber()) == number) return window;
    }
    return nullptr;
}

// Our shown work windows, front to back.
std::vector<platform::Window*> shownWorkWindows() {
    using platform::WindowList;
    std::vector<platform::Window*> windows;
    const auto list = WindowList::copyWindowInfo(platform::WindowListOption::onScreenOnly, 0);
    for (const auto& value : list.value_or(platform::PropertyArray{})) {
        const auto* description = value.dictionaryValue();
        if (!description) continue;
        const auto owner = description->find(WindowList::windowOwnerPIDKey);
        const auto number = description->find(WindowList::windowNumberKey);
        if (owner == description->end() || number == description->end() ||
            owner->second.asInteger() != ::getpid()) {
            continue;
        }
        auto* window = ourWindowNumbered(number->second.asInteger().value_or(0));
        if (window && window->isVisible() && isWorkWindow(*window)) windows.push_back(window);
    }
    return windows;
}

}  // namespace

platform::Point Control::centre() const {
    return {bounds.midX(), bounds.midY()};
}

std::vector<Control> controlsOf(platform::Window& window) {
    std::vector<Control> controls;
    if (auto* content = window.contentView()) collect(*content, window, controls);
    for (auto& control : controls) {
        if (goesByRowLabel(control.kind)) control.name = rowLabel(control, controls);
    }
    return controls;
}

std::string describeControl(const Control& control) {
    static constexpr const char* kNames[] = {"button", "checkbox", "popup", "recorder",
                                             "field",  "slider",   "label"};
    const auto whole = [](double value) { return std::to_string(std::lround(value)); };
    const auto& b = control.bounds;
    return std::string("control: ") + kNames[static_cast<int>(control.kind)] + " \"" +
           lineText(control.name) + "\" " + whole(b.minX()) + " " + whole(b.minY()) + " " +
           whole(b.width()) + " " + whole(b.height());
}

platform::Window* frontmostWindow() {
    for (auto* window : shownWorkWindows()) {
        if (!controlsOf(*window).empty()) return window;
    }
    return nullptr;
}

platform::AlertPanel* frontmostAlert() {
    for (auto* window : shownWorkWindows()) {
        if (auto* alert = dynamic_cast<platform::AlertPanel*>(window)) return alert;
    }
    return nullptr;
}

std::vector<std::string> describeAlert(const platform::AlertPanel& alert) {
    std::vector<std::string> lines{"alert: " + lineText(alert.messageText())};
    for (const auto& button : alert.buttons()) {
        lines.push_back("alert button: " + lineText(button->title()));
    }
    return lines;
}

}  // namespace zelvana::driver
