#pragma once

#include "platform/appkit/OutlineView.hpp"

namespace zelvana::gridpanel {

// An outline that never takes keyboard focus: clicks select its rows while
// the search field keeps the keys. Nothing in the panel uses it. Main
// thread only.
class EntryOutlineView : public platform::OutlineView {
public:
    using OutlineView::OutlineView;

    bool acceptsFirstResponder() const override { return false; }
};

}  // namespace zelvana::gridpanel
