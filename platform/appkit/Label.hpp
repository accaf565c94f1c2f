#pragma once

#include <memory>
#include <string>

#include "platform/appkit/TextField.hpp"

namespace zelvana::platform {

// A text field that only shows its text: neither editable nor selectable,
// borderless, without background. Main thread only.
class Label : public TextField {
public:
    Label() : Label(std::string()) {}
    explicit Label(std::string text);
    static std::shared_ptr<Label> labelWithString(std::string text) {
        return std::make_shared<Label>(std::move(text));
    }
    // A label that wraps its words at `width`.
    static std::shared_ptr<Label> wrappingLabelWithString(std::string text, double width);
};

}  // namespace zelvana::platform
