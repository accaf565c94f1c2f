#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "KeyboardShortcuts/Name.hpp"
#include "KeyboardShortcuts/RecorderField.hpp"
#include "KeyboardShortcuts/Shortcut.hpp"

namespace zelvana::keyboardshortcuts {

// The field in which the user records the global shortcut of one name. It
// shows the stored shortcut (or a placeholder) and records the next
// acceptable combination while it is first responder, refusing one that the
// main menu or the system already uses unless the user insists. Follows
// changes of the name's shortcut made elsewhere. Main thread only.
class RecorderCocoa : public RecorderField {
public:
    using OnChange = std::function<void(const std::optional<Shortcut>&)>;

    // Shared, as views are; the field is its own delegate.
    static std::shared_ptr<RecorderCocoa> create(const Name& name, OnChange onChange = {});

    const Name& shortcutName() const { return shortcutName_; }
    // Shows the other name's shortcut; the same raw value changes nothing.
    void setShortcutName(const Name& name);

protected:
    RecorderCocoa(const Name& name, OnChange onChange);
    void refreshText() override;
    std::optional<platform::Event> handleRecordingEvent(const platform::Event& event) override;
    void windowDidBecomeKey() override { deferKeyFocus(); }
    void fieldWasCleared() override;

private:
    // The alert said no: nothing is stored.
    bool refusedForMenu(const Shortcut& shortcut);
    bool refusedForSystem(const Shortcut& shortcut);
    void store(const Shortcut& shortcut);

    OnChange onChange_;
    Name shortcutName_;
    platform::Subscription shortcutsNameChangeObserver_;
    platform::WeakFactory<RecorderCocoa> weak_{this};
};
}  // namespace zelvana::keyboardshortcuts
