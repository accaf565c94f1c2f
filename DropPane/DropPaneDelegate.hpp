#pragma once

#include <optional>

#include "platform/appkit/Event.hpp"

namespace zelvana::droppane {

// Hears every left-mouse-dragged and left-mouse-up event seen while the
// custom modifier is held. Main thread.
class DropPaneDelegate {
public:
    virtual ~DropPaneDelegate() = default;
    virtual void dragEvent(const std::optional<platform::Event>& event) = 0;
};

}  // namespace zelvana::droppane
