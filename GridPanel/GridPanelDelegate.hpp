#pragma once

#include <cstdint>
#include <optional>

#include "GridPanel/GridElement.hpp"
#include "platform/appkit/Event.hpp"

namespace zelvana::gridpanel {

// How the panel reports to its host (the hub). Every call comes on the main
// thread.
class GridPanelDelegate {
public:
    virtual ~GridPanelDelegate() = default;

    // After a drop is committed or a rename is confirmed: the grid's tag from
    // reload and the new rows.
    virtual void gridChanged(std::optional<std::int64_t> id, const ElementRows& rows) = 0;
    // Whenever the panel window closes, for any reason.
    virtual void panelClosed() = 0;
    // When the panel window is about to move, and again when it has moved.
    virtual void panelMoved() = 0;
    // Each modifier change while the panel is open.
    virtual void flagsChanged(const platform::Event& event) = 0;
    // A key-down listed in the options' handledKeys: what is returned is
    // delivered in its place, none swallows it.
    virtual std::optional<platform::Event> handleKeyDown(const platform::Event& event) = 0;
    // The highlight moved to another cell (its element) or was cleared (null).
    virtual void selectionChanged(const GridElementRef& element) = 0;
};

// A search delegate the options can carry; nothing calls it.
class GridSearchDelegate {
public:
    virtual ~GridSearchDelegate() = default;
};

}  // namespace zelvana::gridpanel
