#include "KeyboardShortcuts/RecorderForPlayback.hpp"

#include "platform/core/MainThread.hpp"

namespace zelvana::keyboardshortcuts {

namespace {

constexpr auto kRecordingEvents = platform::EventMask::keyDown | platform::EventMask::leftMouseUp |
                                  platform::EventMask::rightMouseUp;

}  // namespace

std::shared_ptr<RecorderForPlayback> RecorderForPlayback::create(std::optional<Shortcut> shortcut,
                                                                 OnChange onChange) {
    std::shared_ptr<RecorderForPlayback> field(
        new RecorderForPlayback(shortcut, std::move(onChange)));
    field->finishSetUp();
    return field;
}

RecorderForPlayback::RecorderForPlayback(std::optional<Shortcut> shortcut, OnChange onChange)
    : RecorderField({"record_shortcut", "press_shortcut"}, kRecordingEvents),
      shortcut_(shortcut),
      onChange_(std::move(onChange)) {}

void RecorderForPlayback::setShortcut(std::optional<Shortcut> shortcut) {
    platform::assertMainThread();
    shortcut_ = shortcut;
    refreshText();
}

void RecorderForPlayback::refreshText() {
    setStringValue(shortcut_ ? shortcut_->description() : "");
    applyCancelButtonRule();
}

void RecorderForPlayback::fieldWasCleared() {
    shortcut_.reset();
    if (onChange_) onChange_(std::nullopt);
}

std::optional<platform::Event> RecorderForPlayback::handleRecordingEvent(
    const platform::Event& event) {
    const RecordingStep step = filterShortcutEvent(event);
    if (step.decided) return step.deliver;
    setStringValue(step.shortcut->description());
    setCancelButtonCell(cancelButton_);
    shortcut_ = step.shortcut;
    if (onChange_) onChange_(shortcut_);
    endRecording();
    return std::nullopt;
}

}  // namespace zelvana::keyboardshortcuts
