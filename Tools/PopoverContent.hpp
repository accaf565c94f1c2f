#pragma once

#include <memory>
#include <string>

#include "platform/appkit/Label.hpp"
#include "platform/appkit/Popover.hpp"
#include "platform/appkit/StackView.hpp"

namespace zelvana::tools {

// The parts the utility popovers share: a transient popover whose content
// controller's view is a stack with 15 points of inset on every side that
// hugs its content (priority 750), and their wrapped message labels.
namespace PopoverContent {

// A new popover showing `stack`.
std::shared_ptr<platform::Popover> makePopover(const std::shared_ptr<platform::StackView>& stack);
// A new stack with the shared insets and hugging.
std::shared_ptr<platform::StackView> makeStack();
// A word-wrapping label exactly 250 points wide and at least 30 high.
std::shared_ptr<platform::Label> makeMessageLabel(std::string text);
// Shown against the whole of `view`.
void show(platform::Popover& popover, platform::View& view, platform::RectEdge preferredEdge);

}  // namespace PopoverContent

}  // namespace zelvana::tools
