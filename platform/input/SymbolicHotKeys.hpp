#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "platform/foundation/PropertyList.hpp"
#include "platform/input/CarbonEvent.hpp"

namespace zelvana::platform {

// Keys of one symbolic hot key's dictionary.
inline constexpr const char* kHISymbolicHotKeyCode = "kHISymbolicHotKeyCode";
inline constexpr const char* kHISymbolicHotKeyModifiers = "kHISymbolicHotKeyModifiers";
inline constexpr const char* kHISymbolicHotKeyEnabled = "kHISymbolicHotKeyEnabled";

struct SymbolicHotKeysCopy {
    OSStatus status = noErr;
    // Normally a list of dictionaries; tests may put anything in it.
    std::optional<PropertyArray> hotKeys;
};

// The system's list of symbolic hot keys (such as the shortcuts that switch
// spaces); a copy is made on every call.
SymbolicHotKeysCopy copySymbolicHotKeys();

// The system's symbolic hot keys. An enabled entry with an integer key code
// and integer modifiers takes the matching key before anyone else sees it,
// unless the frontmost application carries it out itself (as every
// application's own windows answer "move focus to the next window"): that
// key goes on to the application. The shared list starts as a fresh system
// has it (see restoreFreshSystem).
class SymbolicHotKeys {
public:
    struct Press {
        std::uint32_t keyCode = 0;
        std::uint32_t modifiers = 0;
        bool operator==(const Press&) const = default;
    };
    enum class State { enabled, disabled };
    // Who carries the shortcut out.
    enum class Handler { system, application };

    static SymbolicHotKeys& shared();

    // Adds a well-formed entry.
    void add(std::uint32_t keyCode, std::uint32_t carbonModifiers, State state = State::enabled,
             Handler handler = Handler::system);
    // The list of a fresh system, each entry enabled: search (cmd+space) and
    // search in the file browser (cmd+opt+space), Mission Control (ctrl+up),
    // the application's windows (ctrl+down), and the screenshots (cmd+shift+3,
    // 4 and 5, and with ctrl the copies of 3 and 4 to the clipboard), which
    // the system carries out; and moving the focus to the menu bar (ctrl+F2)
    // and to the next window (cmd+`), which the frontmost application does.
    void restoreFreshSystem();
    // Replaces the whole list, well-formed or not.
    void setEntries(PropertyArray entries) { entries_ = std::move(entries); }
    const PropertyArray& entries() const { return entries_; }
    // While set, the copy fails with this status and gives no list.
    void setReadFailure(std::optional<OSStatus> status) { readFailure_ = status; }
    // While set, the copy succeeds but gives no list.
    void setListMissing(bool missing) { listMissing_ = missing; }
    SymbolicHotKeysCopy copy() const;

    // Whether an enabled entry matches the key and the Carbon modifiers
    // (cmd, shift, option, control; other bits are ignored on both sides).
    bool takes(std::uint32_t keyCode, std::uint32_t carbonModifiers) const;
    // Called by the keyboard when an entry took a key down.
    void recordPress(std::uint32_t keyCode, std::uint32_t carbonModifiers);
    // The key downs the system took, in order.
    const std::vector<Press>& presses() const { return presses_; }
    // No entries (a test adds the ones it needs), no failure, no presses.
    void resetForTesting();

private:
    SymbolicHotKeys() { restoreFreshSystem(); }

    PropertyArray entries_;
    // The entries that the frontmost application carries out.
    std::vector<Press> applicationHandled_;
    std::optional<OSStatus> readFailure_;
    bool listMissing_ = false;
    std::vector<Press> presses_;
};

}  // namespace zelvana::platform
