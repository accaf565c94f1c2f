#pragma once

#include <any>
#include <functional>
#include <map>
#include <string>

#include "platform/core/SubscriberList.hpp"
#include "platform/core/Subscription.hpp"

namespace zelvana::platform {

struct Notification {
    std::string name;
    std::any object;
    std::map<std::string, std::any> userInfo;
};

// Delivers notifications within the process. Observers run synchronously on
// the posting thread, in registration order. Safe from any thread; observers
// may add or remove observers, themselves included, while being called.
class NotificationCenter {
public:
    using Observer = std::function<void(const Notification&)>;

    NotificationCenter() = default;
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    static NotificationCenter& defaultCenter();

    // An empty name observes every notification. The observer is removed when
    // the token goes; one removed during a post is not called for the rest of it.
    [[nodiscard]] Subscription addObserver(std::string name, Observer observer);

    void post(const Notification& notification);
    void post(std::string name, std::any object = {});

    // How many observers are registered.
    std::size_t observerCount() const { return observers_.size(); }

private:
    ConcurrentSubscriberList<const Notification&> observers_;
};

// Calls one observer of a notification; what it throws is reported and goes no
// further, so one failing observer cannot keep the others from hearing the news.
void callNotificationObserver(const NotificationCenter::Observer& observer,
                              const Notification& notification);

}  // namespace zelvana::platform
