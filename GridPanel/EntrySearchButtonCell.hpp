#pragma once

#include <memory>

#include "platform/appkit/ButtonCell.hpp"
#include "platform/core/Weak.hpp"
#include "platform/dispatch/Queue.hpp"

namespace zelvana::gridpanel {

// The cell of a search button with a menu: a left press opens the menu at
// the cell's bottom-right corner, after 300 ms with longPress on (the
// pending opening is kept in workItem, so a release before can cancel it)
// or at once with it off. Other presses are the platform's. Main thread only.
class EntrySearchButtonCell : public platform::ButtonCell {
public:
    static constexpr double longPressDelay = 0.3;

    using ButtonCell::ButtonCell;

    bool longPress() const { return longPress_; }
    void setLongPress(bool longPress) { longPress_ = longPress; }
    // The opening still to come, if any.
    const std::shared_ptr<platform::WorkItem>& workItem() const { return workItem_; }
    // Cancels the pending opening and forgets it; false when there was none.
    bool cancelWorkItem();

    bool trackMouse(const platform::Event& event, platform::Rect cellFrame, platform::View& view,
                    bool untilMouseUp) override;

private:
    bool longPress_ = true;
    std::shared_ptr<platform::WorkItem> workItem_;
    platform::WeakFactory<EntrySearchButtonCell> weak_{this};
};

}  // namespace zelvana::gridpanel
