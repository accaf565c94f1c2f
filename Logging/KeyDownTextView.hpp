#pragma once

#include "platform/appkit/TextView.hpp"

namespace zelvana::logging {

// The log's text view: Command-W closes the window, Command-H hides it;
// every other key gets the text view's own handling.
class KeyDownTextView : public platform::TextView {
public:
    using TextView::TextView;
    void keyDown(const platform::KeyEvent& event) override;
};

}  // namespace zelvana::logging
