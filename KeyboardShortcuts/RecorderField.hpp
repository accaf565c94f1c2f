#pragma once

#include <memory>
#include <optional>
#include <string>

#include "KeyboardShortcuts/LocalEventMonitor.hpp"
#include "KeyboardShortcuts/Shortcut.hpp"
#include "platform/appkit/SearchField.hpp"
#include "platform/core/Subscription.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::keyboardshortcuts {

// What the steps both shortcut recorders take first made of an event: its
// fate (`decided`, with the event to deliver or none), or the shortcut to go
// on with.
struct RecordingStep {
    bool decided = false;
    std::optional<platform::Event> deliver;
    std::optional<Shortcut> shortcut;
};

// What the recorder fields share: a search field that is its own delegate,
// shows its clear button only beside text, and records while it is first
// responder through an application-local monitor, with the global shortcuts
// paused. Recording ends when editing ends, when its window resigns key or
// closes, when the field leaves its window, and when the field goes, so the
// shortcuts are never left paused. Main thread only.
class RecorderField : public platform::SearchField, protected platform::TextFieldDelegate {
public:
    ~RecorderField() override;

    double minimumWidth = 130;
    // Whether keyboard navigation may make the field its window's key view.
    bool canBecomeKeyView() const { return canBecomeKey_; }
    bool isRecording() const { return eventMonitor_ != nullptr; }

    // `minimumWidth` wide, as high as a search field is.
    platform::Size intrinsicContentSize() const override;
    // Starts recording when the search field accepts.
    bool becomeFirstResponder() override;
    void viewDidMoveToWindow() override;

protected:
    struct Placeholders {
        std::string idleKey;
        std::string recordingKey;
    };
    RecorderField(Placeholders placeholders, platform::EventTypeMask events);

    // Call at the end of construction, when the subclass can show its text.
    void finishSetUp();
    virtual void refreshText() = 0;
    // The monitor's callback: the event to deliver, or none to swallow it.
    virtual std::optional<platform::Event> handleRecordingEvent(const platform::Event& event) = 0;
    // Hooks for the variants.
    virtual void recordingWillStart() {}
    virtual void windowDidBecomeKey() {}

    // The clear button shows only beside text.
    void applyCancelButtonRule();
    void stopRecording();
    // Makes the window's first responder nothing, which ends recording.
    void endRecording();
    // Makes the field its window's first responder again.
    void recordAgain();
    // For the rest of this main-queue turn the field cannot become key view.
    void deferKeyFocus();
    // A mouse-up outside the field's bounds grown by 3 points on every side.
    bool isClickOutside(const platform::Event& event) const;
    // Outside clicks, other events, Tab, Escape, the delete keys, keys that
    // need a modifier and events that make no shortcut.
    RecordingStep filterShortcutEvent(const platform::Event& event);

    // The clear button emptied the field: recording goes on.
    void controlTextDidChange(platform::TextField& field) override;
    void controlTextDidEndEditing(platform::TextField& field) override;
    virtual void fieldWasCleared() = 0;

    std::shared_ptr<platform::Button> cancelButton_;

private:
    Placeholders placeholders_;
    platform::EventTypeMask events_;
    bool canBecomeKey_ = false;
    std::unique_ptr<LocalEventMonitor> eventMonitor_;
    platform::Subscription windowDidResignKeyObserver_;
    platform::Subscription windowDidBecomeKeyObserver_;
    platform::WeakFactory<RecorderField> weak_{this};
};

// Keys a recorder treats specially when pressed without modifiers.
bool isTabKey(const platform::Event& event);
bool isEscapeKey(const platform::Event& event);
// Delete, Forward Delete or Backspace.
bool isDeleteKey(const platform::Event& event);

}  // namespace zelvana::keyboardshortcuts
