#pragma once

#include <functional>
#include <memory>
#include <optional>

#include "KeyboardShortcuts/ModifierFlags.hpp"
#include "KeyboardShortcuts/RecorderField.hpp"

namespace zelvana::keyboardshortcuts {

// The field in which the user records a combination of modifier keys alone.
// While recording, the held set grows with each modifier pressed and is
// committed at the first release; ordinary keys are ignored. Main thread only.
class RecorderModifierCocoa : public RecorderField {
public:
    using OnChange = std::function<void(const std::optional<ModifierFlags>&)>;

    static std::shared_ptr<RecorderModifierCocoa> create(std::optional<ModifierFlags> flags,
                                                         OnChange onChange = {});

    const std::optional<ModifierFlags>& flags() const { return flags_; }
    // Shows the flags; the change callback is not told.
    void setFlags(std::optional<ModifierFlags> flags);
    // The combination shown, and the one being built while recording.
    const std::optional<ModifierFlags>& tmpFlags() const { return tmpFlags_; }

protected:
    RecorderModifierCocoa(std::optional<ModifierFlags> flags, OnChange onChange);
    void refreshText() override;
    std::optional<platform::Event> handleRecordingEvent(const platform::Event& event) override;
    void recordingWillStart() override { tmpFlags_.reset(); }
    void fieldWasCleared() override;

private:
    void flagsChanged(ModifierFlags current);

    std::optional<ModifierFlags> flags_;
    std::optional<ModifierFlags> tmpFlags_;
    OnChange onChange_;
};

}  // namespace zelvana::keyboardshortcuts
