#pragma once

#include "platform/appkit/TextField.hpp"

namespace zelvana::gridpanel {

// A search field 40 points high, as wide as its text plus `padding`,
// measured when asked and asked again as it is typed. Nothing in the panel uses it. Main thread
// only.
class EntrySearchField : public platform::TextField {
public:
    using TextField::TextField;

    double padding() const { return padding_; }
    void setPadding(double padding) { padding_ = padding; }

    platform::Size intrinsicContentSize() const override;

protected:
    // Its size follows the text as it is typed.
    void textDidChange() override;

private:
    double padding_ = 0.0;
};

}  // namespace zelvana::gridpanel
