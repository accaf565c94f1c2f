#include "platform/foundation/NotificationDatagram.hpp"

namespace zelvana::platform::NotificationDatagram {

namespace {
constexpr char kNoObject = '-';
constexpr char kWithObject = '+';
}  // namespace

std::string encode(const std::string& name, const std::optional<std::string>& object) {
    std::string message = name;
    message.push_back('\0');
    message.push_back(object ? kWithObject : kNoObject);
    if (object) message += *object;
    return message;
}

std::optional<Notification> decode(const std::string& message) {
    const auto end = message.find('\0');
    if (end == std::string::npos || end + 1 >= message.size()) return std::nullopt;
    Notification notification{message.substr(0, end), {}, {}};
    const char tag = message[end + 1];
    if (tag == kWithObject) {
        notification.object = message.substr(end + 2);
    } else if (tag != kNoObject) {
        return std::nullopt;
    }
    return notification;
}

}  // namespace zelvana::platform::NotificationDatagram
