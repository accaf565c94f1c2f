#pragma once

#include <any>
#include <memory>
#include <optional>

#include "DropPane/DragListener.hpp"
#include "DropPane/DropPaneOptions.hpp"
#include "DropPane/DropPaneWindowController.hpp"

namespace zelvana::droppane {

// A pane of drop targets shown while files are dragged (with the chosen
// modifiers held), handing the dropped file URLs to the units. The caller
// makes it with its options and keeps it alive; copies share the pane. Main
// thread only.
class DropPane {
public:
    // None, and logged, when the pane's storyboard cannot be loaded. Drags
    // are watched only when some unit takes dropped files.
    static std::optional<DropPane> make(DropPaneOptions options);

    const DropPaneOptions& options() const { return options_; }
    // The pane and the listener take the new options.
    void setOptions(DropPaneOptions options);
    void setDropUnits(std::vector<DropUnit> units);
    void setLocation(DropPaneLocation location);

    void show(const std::optional<platform::Event>& event);
    void hide();
    void showLater(const std::optional<platform::Event>& event);
    void mouseUp(const std::any& value);

    const std::shared_ptr<DropPaneWindowController>& windowController() const {
        return windowController_;
    }
    // Null when no unit takes dropped files.
    const std::shared_ptr<DragListener>& dragListener() const { return dragListener_; }

private:
    DropPane(DropPaneOptions options, std::shared_ptr<DropPaneWindowController> controller);

    std::shared_ptr<DropPaneWindowController> windowController_;
    std::shared_ptr<DragListener> dragListener_;
    DropPaneOptions options_;
};

}  // namespace zelvana::droppane
