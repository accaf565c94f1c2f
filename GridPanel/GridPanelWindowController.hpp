#pragma once

#include <cstdint>
#include <memory>
#include <optional>

#include "GridPanel/AutoClose.hpp"
#include "GridPanel/GridPanelOptions.hpp"
#include "platform/appkit/Application.hpp"
#include "platform/appkit/WindowController.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::gridpanel {

class GridPanelViewController;
class GridPanelWindow;

// What the host holds of the grid panel: shows it as a modal session of the
// application (one session however often it is shown), closes it (ending
// the session; waiting while a rename is open), reloads its elements, moves
// the highlight and activates the highlighted element. Closing and moving are
// reported to the options' delegate. Main thread only.
class GridPanelWindowController : public platform::WindowController {
public:
    static constexpr const char* autosaveName = "GridPanelWindow";
    // Seconds before a show with auto-close closes the panel.
    static constexpr double autoCloseDelay = 2.0;

    explicit GridPanelWindowController(std::shared_ptr<GridPanelOptions> options);
    ~GridPanelWindowController() override;

    const std::shared_ptr<GridPanelOptions>& options() const { return options_; }
    // Taken from the options when made.
    platform::WeakRef<GridPanelDelegate> delegate;
    const std::optional<platform::ModalSession>& modalSession() const { return modalSession_; }

    // Busy while a cell's rename popover is open.
    bool isEditing() const { return isEditing_; }
    void setIsEditing(bool editing) { isEditing_ = editing; }
    // A rename popover is open, until its end has run: Escape, the loss of key
    // status and a gesture's end then leave the panel as it is.
    bool isRenaming() const;
    bool isOpen() const;
    bool isClosing() const { return closing_; }

    void show(AutoClose autoClose);
    void toggle();
    // Ends the session and closes the window, reporting panelClosed once;
    // while a rename is open the close waits for its end.
    void close() override;
    void activateSelection();
    void reload(std::optional<std::int64_t> id, const ElementRows& grid);
    void updateElements(std::optional<std::int64_t> id, const ElementRows& elements);
    // A raw direction, 1 to 8; others are ignored.
    void move(std::int64_t rawDirection);
    void selectNext();
    void selectPrevious();
    bool cursorSelects() const;
    void setCursorSelects(bool selects);
    void panelDidClose();
    void panelDidMove();
    // After a rename: runs a close that waited, or closes a panel that is no
    // longer key.
    void renameEnded();

    GridPanelViewController* viewController() const;
    GridPanelWindow* panelWindow() const;

private:
    std::shared_ptr<GridPanelOptions> options_;
    std::optional<platform::ModalSession> modalSession_;
    bool isEditing_ = false;
    bool closing_ = false;
    bool closeWaiting_ = false;
};

}  // namespace zelvana::gridpanel
