#include "KeyboardShortcuts/RecorderModifierCocoa.hpp"

#include "platform/core/MainThread.hpp"

namespace zelvana::keyboardshortcuts {

namespace {

constexpr auto kRecordingEvents = platform::EventMask::keyDown | platform::EventMask::flagsChanged |
                                  platform::EventMask::leftMouseUp |
                                  platform::EventMask::rightMouseUp;

}  // namespace

std::shared_ptr<RecorderModifierCocoa> RecorderModifierCocoa::create(
    std::optional<ModifierFlags> flags, OnChange onChange) {
    std::shared_ptr<RecorderModifierCocoa> field(
        new RecorderModifierCocoa(flags, std::move(onChange)));
    field->finishSetUp();
    return field;
}

RecorderModifierCocoa::RecorderModifierCocoa(std::optional<ModifierFlags> flags, OnChange onChange)
    : RecorderField({"Record Modifiers", "Press Modifiers"}, kRecordingEvents),
      flags_(flags),
      tmpFlags_(flags),
      onChange_(std::move(onChange)) {}

void RecorderModifierCocoa::setFlags(std::optional<ModifierFlags> flags) {
    platform::assertMainThread();
    flags_ = flags;
    tmpFlags_ = flags;
    refreshText();
}

void RecorderModifierCocoa::refreshText() {
    setStringValue(tmpFlags_ ? modifierDescription(*tmpFlags_) : "");
    applyCancelButtonRule();
}

void RecorderModifierCocoa::fieldWasCleared() {
    tmpFlags_.reset();
    flags_.reset();
    if (onChange_) onChange_(std::nullopt);
}

std::optional<platform::Event> RecorderModifierCocoa::handleRecordingEvent(
    const platform::Event& event) {
    if (isClickOutside(event)) {
        endRecording();
        return event;
    }
    if (event.type == platform::EventType::flagsChanged) {
        flagsChanged(shortcutModifiers(event.modifierFlags));
        return std::nullopt;
    }
    if (event.type != platform::EventType::keyDown && event.type != platform::EventType::keyUp) {
        return std::nullopt;
    }
    const ModifierFlags modifiers = shortcutModifiers(event.modifierFlags);
    if (!modifiers.isEmpty()) return std::nullopt;
    if (isTabKey(event)) {
        endRecording();
        return event;
    }
    if (isEscapeKey(event)) {
        endRecording();
    } else if (isDeleteKey(event)) {
        clickCancelButton();
    }
    return std::nullopt;
}

void RecorderModifierCocoa::flagsChanged(ModifierFlags current) {
    // The first release makes the mask smaller: the set held just before
    // is the combination.
    if (tmpFlags_ && current.rawValue() < tmpFlags_->rawValue()) {
        flags_ = tmpFlags_;
        endRecording();
        if (onChange_) onChange_(flags_);
        return;
    }
    tmpFlags_ = current;
    refreshText();
}

}  // namespace zelvana::keyboardshortcuts
