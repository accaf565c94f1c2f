#pragma once

#include <optional>

#include "KeyboardShortcuts/Name.hpp"
#include "platform/foundation/NotificationCenter.hpp"

namespace zelvana::keyboardshortcuts {

// The name carried by a shortcut-change notification; none when the
// notification has no "name" entry of that type.
std::optional<Name> changedName(const platform::Notification& notification);

}  // namespace zelvana::keyboardshortcuts
