#pragma once

#include <cstdint>
#include <map>

#include "platform/appkit/Panel.hpp"
#include "platform/appkit/WindowDelegate.hpp"

namespace zelvana::gridpanel {

class GridPanelWindowController;

// The grid panel's borderless, non-activating, transient floating window,
// its own delegate: it is open while shown, closes when it loses key status
// unless a rename popover is open, and reports moves. Closing it always
// goes through its window controller, so a modal session never outlives it.
// Main thread only.
class GridPanelWindow : public platform::Panel, public platform::WindowDelegate {
public:
    // The rectangle and style asked for are ignored: a zero rectangle and the
    // non-activating panel style.
    GridPanelWindow(platform::Rect contentRect, StyleMask styleMask, int backing, bool defer);
    ~GridPanelWindow() override;

    bool isOpen = false;
    // The frame at each close, by the main screen's number; nothing reads it.
    std::map<std::uint32_t, platform::Rect> cachedFrames;
    // While set, moves are not reported; nothing sets it.
    bool programmaticMove = false;

    bool canBecomeKeyWindow() const override { return true; }
    void close() override;
    // The close itself, which the window controller runs.
    void closeWindow();

    void windowDidBecomeKey() override { isOpen = true; }
    void windowDidResignKey() override;
    void windowWillClose() override { isOpen = false; }
    void windowWillMove() override { reportMove(); }
    void windowDidMove() override { reportMove(); }

private:
    GridPanelWindowController* panelController() const;
    void reportMove();
};

}  // namespace zelvana::gridpanel
