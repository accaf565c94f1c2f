#pragma once

#include "platform/appkit/TextField.hpp"

namespace zelvana::gridpanel {

// A search field 60 points wide while empty, else its text's width plus 4,
// and its text's height plus 10. Nothing in the panel uses it. Main thread
// only.
class SearchField : public platform::TextField {
public:
    using TextField::TextField;

    platform::Size intrinsicContentSize() const override;
};

}  // namespace zelvana::gridpanel
