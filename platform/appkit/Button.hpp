#pragma once

#include <string>

#include "platform/appkit/View.hpp"

namespace zelvana::platform {

// A push button. A click sends its action up the window's chain of
// controllers (the content view controller, then the window controller).
class Button : public View {
public:
    Button() = default;
    Button(std::string title, std::string action)
        : title_(std::move(title)), action_(std::move(action)) {}

    const std::string& title() const { return title_; }
    void setTitle(std::string title) { title_ = std::move(title); }
    // The action's name, such as "clearClicked:".
    const std::string& action() const { return action_; }
    void setAction(std::string action) { action_ = std::move(action); }

    // Returns whether some controller handled the action.
    bool performClick();

private:
    std::string title_;
    std::string action_;
};

}  // namespace zelvana::platform
