#include "KeyboardShortcuts/RecorderField.hpp"

#include "KeyboardShortcuts/Key.hpp"
#include "KeyboardShortcuts/KeyboardShortcuts.hpp"
#include "KeyboardShortcuts/Localization.hpp"
#include "KeyboardShortcuts/SpecialKey.hpp"
#include "platform/appkit/Color.hpp"
#include "platform/appkit/Sound.hpp"
#include "platform/appkit/TextView.hpp"
#include "platform/appkit/Window.hpp"
#include "platform/core/MainThread.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/NotificationCenter.hpp"

namespace zelvana::keyboardshortcuts {

namespace {

constexpr double kOutsideClickMargin = 3;

}  // namespace

RecorderField::RecorderField(Placeholders placeholders, platform::EventTypeMask events)
    : placeholders_(std::move(placeholders)), events_(events) {
    platform::assertMainThread();
    setDelegate(this);
    setPlaceholderString(localized(placeholders_.idleKey));
    setAlignment(platform::TextAlignment::center);
    setSearchButtonCell(nullptr);
    setWantsLayer(true);
    cancelButton_ = cancelButtonCell();
}

RecorderField::~RecorderField() {
    // A field that goes while recording must not leave the shortcuts paused.
    if (isRecording()) setHandlingPaused(false);
}

void RecorderField::finishSetUp() {
    refreshText();
}

platform::Size RecorderField::intrinsicContentSize() const {
    return {minimumWidth, SearchField::intrinsicContentSize().height};
}

void RecorderField::applyCancelButtonRule() {
    setCancelButtonCell(stringValue().empty() ? nullptr : cancelButton_);
}

bool RecorderField::becomeFirstResponder() {
    platform::assertMainThread();
    if (!SearchField::becomeFirstResponder()) return false;
    recordingWillStart();
    setPlaceholderString(localized(placeholders_.recordingKey));
    applyCancelButtonRule();
    if (platform::TextView* editor = currentEditor()) {
        editor->setInsertionPointColor(platform::Color::clear());
    }
    setHandlingPaused(true);
    eventMonitor_ = std::make_unique<LocalEventMonitor>(
        events_,
        [weak = weak_.ref()](const platform::Event& event) -> std::optional<platform::Event> {
            RecorderField* self = weak.get();
            if (!self) return std::nullopt;
            return self->handleRecordingEvent(event);
        });
    eventMonitor_->start();
    return true;
}

void RecorderField::stopRecording() {
    const bool wasRecording = isRecording();
    eventMonitor_.reset();
    setPlaceholderString(localized(placeholders_.idleKey));
    applyCancelButtonRule();
    if (platform::Window* window = this->window()) {
        window->fieldEditor().setInsertionPointColor(platform::Color::labelColor());
    }
    // Only a recording field unpauses: another idle field must not end a
    // pause that a recording one holds.
    if (wasRecording) setHandlingPaused(false);
}

void RecorderField::controlTextDidChange(platform::TextField& /*field*/) {
    const bool empty = stringValue().empty();
    if (empty) fieldWasCleared();
    applyCancelButtonRule();
    if (empty) recordAgain();
}

void RecorderField::controlTextDidEndEditing(platform::TextField& /*field*/) {
    stopRecording();
}

void RecorderField::endRecording() {
    if (platform::Window* window = this->window()) window->makeFirstResponder(nullptr);
}

void RecorderField::recordAgain() {
    if (platform::Window* window = this->window()) window->makeFirstResponder(this);
}

void RecorderField::deferKeyFocus() {
    canBecomeKey_ = false;
    platform::mainQueue().async([weak = weak_.ref()] {
        if (RecorderField* self = weak.get()) self->canBecomeKey_ = true;
    });
}

void RecorderField::viewDidMoveToWindow() {
    platform::Window* window = this->window();
    if (!window) {
        windowDidResignKeyObserver_ = {};
        windowDidBecomeKeyObserver_ = {};
        stopRecording();
        return;
    }
    auto& center = platform::NotificationCenter::defaultCenter();
    const auto weak = weak_.ref();
    windowDidResignKeyObserver_ = center.addObserver(
        platform::Window::didResignKeyNotification, [weak, window](const auto& notification) {
            RecorderField* self = weak.get();
            if (!self || platform::Window::notifyingWindow(notification) != window) return;
            if (self->window() != window) return;
            self->stopRecording();
            window->makeFirstResponder(nullptr);
        });
    windowDidBecomeKeyObserver_ = center.addObserver(
        platform::Window::didBecomeKeyNotification, [weak, window](const auto& notification) {
            RecorderField* self = weak.get();
            if (self && platform::Window::notifyingWindow(notification) == window) {
                self->windowDidBecomeKey();
            }
        });
    deferKeyFocus();
}

bool RecorderField::isClickOutside(const platform::Event& event) const {
    if (event.type != platform::EventType::leftMouseUp &&
        event.type != platform::EventType::rightMouseUp) {
        return false;
    }
    const platform::Point point = convertPointFromView(event.locationInWindow, nullptr);
    const platform::Rect area = bounds();
    return point.x < area.minX() - kOutsideClickMargin ||
           point.x > area.maxX() + kOutsideClickMargin ||
           point.y < area.minY() - kOutsideClickMargin ||
           point.y > area.maxY() + kOutsideClickMargin;
}

RecordingStep RecorderField::filterShortcutEvent(const platform::Event& event) {
    const auto swallow = RecordingStep{true, std::nullopt, std::nullopt};
    if (isClickOutside(event)) {
        endRecording();
        return {true, event, std::nullopt};
    }
    if (event.type != platform::EventType::keyDown && event.type != platform::EventType::keyUp) {
        return swallow;
    }
    const ModifierFlags modifiers = shortcutModifiers(event.modifierFlags);
    if (modifiers.isEmpty() && isTabKey(event)) {
        endRecording();
        return {true, event, std::nullopt};
    }
    if (modifiers.isEmpty() && isEscapeKey(event)) {
        endRecording();
        return swallow;
    }
    if (modifiers.isEmpty() && isDeleteKey(event)) {
        clickCancelButton();
        return swallow;
    }
    const auto special = specialKey(event);
    if (modifiers.without(Modifier::shift).isEmpty() &&
        !(special && functionKeysAllowedAlone().contains(*special))) {
        platform::Sound::beep();
        return swallow;
    }
    auto shortcut = Shortcut::fromEvent(event);
    if (!shortcut) {
        platform::Sound::beep();
        return swallow;
    }
    return {false, std::nullopt, shortcut};
}

bool isTabKey(const platform::Event& event) {
    return event.keyCode == Key::tab.rawValue;
}

bool isEscapeKey(const platform::Event& event) {
    return event.keyCode == Key::escape.rawValue;
}

bool isDeleteKey(const platform::Event& event) {
    return event.keyCode == Key::deleteKey.rawValue ||
           event.keyCode == Key::deleteForward.rawValue || event.characters == "\b";
}

}  // namespace zelvana::keyboardshortcuts
