#include "platform/foundation/NotificationCenter.hpp"

#include <utility>

#include "platform/core/ObserverFault.hpp"

namespace zelvana::platform {

void callNotificationObserver(const NotificationCenter::Observer& observer,
                              const Notification& notification) {
    try {
        observer(notification);
    } catch (...) {
        observerThrew("observer of \"" + notification.name + "\"");
    }
}

NotificationCenter& NotificationCenter::defaultCenter() {
    // Never destroyed, so observers removed during static teardown stay safe.
    static auto* center = new NotificationCenter();
    return *center;
}

Subscription NotificationCenter::addObserver(std::string name, Observer observer) {
    return observers_.add(
        [name = std::move(name), observer = std::move(observer)](const Notification& notification) {
            if (name.empty() || name == notification.name) {
                callNotificationObserver(observer, notification);
            }
        });
}

void NotificationCenter::post(const Notification& notification) {
    observers_.emit(notification);
}

void NotificationCenter::post(std::string name, std::any object) {
    post(Notification{std::move(name), std::move(object), {}});
}

}  // namespace zelvana::platform
