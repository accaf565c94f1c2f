#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "Tools/KeyDirection.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/input/EventSource.hpp"

namespace zelvana::tools {

// A key to press: a virtual key code and, optionally, the event flags to set.
struct KeyPresserKey {
    std::uint16_t keyCode = 0;
    std::optional<platform::ModifierFlags> modifierFlags;
};

// Whether a key-up carries the flags given for the press.
enum class FlagsOnKeyUp { no, yes };
// Whether zero flags are still set on the events, clearing what the source would add.
enum class ForceFlags { no, yes };

// Synthesises key strokes and posts them into the system's event stream as if
// they came from the keyboard. Instances post through their own private-state
// event source; the type-level operations share one. An event the platform
// refuses to make is skipped; the other is still posted. Main thread (posting
// reaches the keyboard's routing).
class KeyPresser {
public:
    KeyPresser();
    static KeyPresser& shared();

    const std::shared_ptr<platform::EventSource>& eventSource() const { return eventSource_; }

    // Key down then key up, both with `flags` when given and not zero.
    void press(std::uint16_t keyCode, std::optional<platform::ModifierFlags> flags) const;
    // The same, but the key up gets the flags only with FlagsOnKeyUp::yes.
    void press(std::uint16_t keyCode, std::optional<platform::ModifierFlags> flags,
               FlagsOnKeyUp flagsOnKeyUp) const;

    // The directions' events (down first); the key's flags are set when given
    // and not zero, or with ForceFlags::yes.
    static void press(const KeyPresserKey& key, KeyDirections direction, ForceFlags force);
    static void press(const KeyPresserKey& key);
    // The Command key, without flags.
    static void pressCommand(KeyDirections direction);
    // A lone key up of Caps Lock.
    static void releaseCapsLock();

private:
    static const std::shared_ptr<platform::EventSource>& sharedEventSource();

    const std::shared_ptr<platform::EventSource> eventSource_;
};

}  // namespace zelvana::tools
