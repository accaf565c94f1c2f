#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "KeyboardShortcuts/RecorderField.hpp"
#include "KeyboardShortcuts/Shortcut.hpp"

namespace zelvana::keyboardshortcuts {

// A recorder field for a shortcut that belongs to no name: the recorded
// combination goes only into `shortcut` and to the owner's callback. Nothing
// is stored or registered and no conflicts are checked. Main thread only.
class RecorderForPlayback : public RecorderField {
public:
    using OnChange = std::function<void(const std::optional<Shortcut>&)>;

    static std::shared_ptr<RecorderForPlayback> create(std::optional<Shortcut> shortcut,
                                                       OnChange onChange);

    const std::optional<Shortcut>& shortcut() const { return shortcut_; }
    // Shows the shortcut; the callback is not told.
    void setShortcut(std::optional<Shortcut> shortcut);

protected:
    RecorderForPlayback(std::optional<Shortcut> shortcut, OnChange onChange);
    void refreshText() override;
    std::optional<platform::Event> handleRecordingEvent(const platform::Event& event) override;
    void fieldWasCleared() override;

private:
    std::optional<Shortcut> shortcut_;
    OnChange onChange_;
};

}  // namespace zelvana::keyboardshortcuts
