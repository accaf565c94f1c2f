#include "Zelvana/AppNotifications.hpp"

#include "platform/foundation/NotificationCenter.hpp"

namespace zelvana::core {

void postAppNotification(const std::string& name, std::any object) {
    platform::NotificationCenter::defaultCenter().post(name, std::move(object));
}

void postAppNotification(const std::string& name, const char* text) {
    postAppNotification(name, text ? std::any(std::string(text)) : std::any());
}

}  // namespace zelvana::core
