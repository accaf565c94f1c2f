#include "platform/appkit/Label.hpp"
#include "platform/core/MainThread.hpp"

namespace zelvana::platform {

Label::Label(std::string text) : TextField(std::move(text)) {
    setEditable(false);
    setSelectable(false);
    setBezeled(false);
    setDrawsBackground(false);
}

std::shared_ptr<Label> Label::wrappingLabelWithString(std::string text, double width) {
    platform::assertMainThread();
    auto label = labelWithString(std::move(text));
    label->setLineBreakMode(LineBreakMode::byWordWrapping);
    label->setPreferredMaxLayoutWidth(width);
    return label;
}

}  // namespace zelvana::platform
