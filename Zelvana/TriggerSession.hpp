#pragma once

#include <cstdint>
#include <functional>
#include <optional>

#include "GridPanel/GridPanelState.hpp"
#include "platform/appkit/Event.hpp"
#include "platform/foundation/Date.hpp"

namespace zelvana::core {

// What opened the panel or moves its highlight; the numbers are the stored
// values, and an absent source (3) means no trigger is in progress.
enum class TriggerSource : std::uint8_t { shortcut = 0, arrow = 1, gesture = 2 };

// The modifiers of the keys that can start a session. Read from the settings
// only when a decision needs them, since reading a bad value logs.
struct TriggerKeys {
    // The "show" shortcut's modifiers; absent when "show" has no shortcut.
    std::function<std::optional<platform::ModifierFlags>()> show;
    // The modifiers held with the arrow keys.
    std::function<platform::ModifierFlags()> arrows;
};

// What a release of "show" asks of the hub.
enum class ShowRelease : std::uint8_t { ignored, commits, keepsOpen };

// What a change of the held modifiers asks of the hub.
enum class FlagsOutcome : std::uint8_t { none, stepsBack, commits };

// Whether Shift let go alone, with another key of the combination held, steps
// back: only with the panel open, outside repetition mode.
enum class LoneShift : std::uint8_t { ignored, stepsBack };

// One trigger of the panel, from the press that opens it to the close: what
// the panel is doing, what started it, how "show" was pressed and which
// modifiers were held last. Every change of that state happens here; the hub
// acts on the answers. A plain value, main thread like its hub.
class TriggerSession {
public:
    using GridPanelState = gridpanel::GridPanelState;

    // A modifier-less "show" held longer than this commits on release.
    static constexpr double holdThreshold = 0.3;

    GridPanelState gridState() const { return gridState_; }
    std::optional<TriggerSource> source() const { return source_; }
    bool isOpenLikeMissionControl() const { return isOpenLikeMissionControl_; }
    std::optional<platform::Date> lastShowDown() const { return lastShowDown_; }
    bool isReloadWaiting() const { return reloadIsWaiting_; }

    // The panel opened for keys ("show", its reverse or an arrow).
    void opened() { gridState_ = GridPanelState::open; }
    // A trackpad gesture opened the panel.
    void openedByGesture();
    // The hub closes the panel; what started it stays until the panel says it closed.
    void closing();
    // The panel closed: the session is over.
    void closed();
    // The pointer or the keys moved the highlight.
    void selectionChanged();

    void showPressed(platform::Date at);
    void reversePressed() { source_ = TriggerSource::shortcut; }
    void arrowPressed() { source_ = TriggerSource::arrow; }
    // Ends the press that `showPressed` began, whether it counts or not.
    ShowRelease showReleased(platform::Date at, const TriggerKeys& keys);
    FlagsOutcome flagsChanged(platform::ModifierFlags current, const TriggerKeys& keys,
                              LoneShift loneShift);
    // A release committed nothing: the panel stays open for a pick and the
    // next "show" closes it. True when the highlight must stop following the pointer.
    bool keepOpenForPick();

    // A reload met a rename; true when no retry is waiting yet.
    bool reloadDeferred();
    void reloaded() { reloadIsWaiting_ = false; }

private:
    bool releaseCommits(const TriggerKeys& keys) const;
    bool includesShift(const TriggerKeys& keys) const;

    GridPanelState gridState_ = GridPanelState::closed;
    std::optional<TriggerSource> source_;
    bool isOpenLikeMissionControl_ = false;
    std::optional<platform::Date> lastShowDown_;
    std::optional<platform::ModifierFlags> lastFlags_;
    // A reload asked for while a rename was open, done once it ends.
    bool reloadIsWaiting_ = false;
};

}  // namespace zelvana::core
