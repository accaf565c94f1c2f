#pragma once

#include <optional>
#include <string>

#include "platform/foundation/NotificationCenter.hpp"

namespace zelvana::platform {

// The bytes of one distributed notification between processes: the name, a
// NUL, then '-' for no object or '+' followed by the object's text. Any
// thread.
namespace NotificationDatagram {
std::string encode(const std::string& name, const std::optional<std::string>& object);
// Absent for bytes that are no datagram; the object, when present, is a
// std::string in Notification::object.
std::optional<Notification> decode(const std::string& message);
}  // namespace NotificationDatagram

}  // namespace zelvana::platform
