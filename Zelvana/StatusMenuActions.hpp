#pragma once

namespace zelvana::core {

// What the status menu asks of the hub, through the application delegate:
// open the grid panel as the "show" shortcut's key-down does (without its
// trigger source or time), and forget every stored space and display. The
// hub implements it. Main thread.
class StatusMenuActions {
public:
    virtual ~StatusMenuActions() = default;
    virtual void showKeyDown() = 0;
    virtual void clear() = 0;
};

}  // namespace zelvana::core
