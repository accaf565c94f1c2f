#pragma once

#include "platform/appkit/TextField.hpp"

namespace zelvana::gridpanel {

// What the self-sizing fields do after the platform has handled a change of
// their edited text: ask for their size again, so the views they lie in lay
// out anew, and take the cell's text as their value again.
inline void followTextChange(platform::TextField& field) {
    field.invalidateIntrinsicContentSize();
    field.setStringValue(field.stringValue());
}

}  // namespace zelvana::gridpanel
