#pragma once

#include <memory>

#include "GridPanel/StackGridView.hpp"
#include "platform/appkit/View.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::gridpanel {

class GridPanelViewController;

// The panel's content view; the drop side of a cell drag lives here. It
// knows its controller and the grid weakly. Main thread only.
class GridPanelView : public platform::View {
public:
    using View::View;

    platform::WeakRef<GridPanelViewController> viewController;
    std::weak_ptr<StackGridView> gridView;
};

}  // namespace zelvana::gridpanel
