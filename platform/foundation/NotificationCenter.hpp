#pragma once

#include <any>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

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
    // Identifies one registration; 0 is never handed out.
    using ObserverToken = std::uint64_t;

    // Removes its registration when it goes away. Movable, not copyable.
    class ScopedObserver {
      public:
        ScopedObserver() = default;
        ScopedObserver(NotificationCenter& center, ObserverToken token)
            : center_(&center), token_(token) {}
        ~ScopedObserver() { reset(); }
        ScopedObserver(ScopedObserver&& other) noexcept;
        ScopedObserver& operator=(ScopedObserver&& other) noexcept;
        ScopedObserver(const ScopedObserver&) = delete;
        ScopedObserver& operator=(const ScopedObserver&) = delete;

        ObserverToken token() const { return token_; }
        void reset();

      private:
        NotificationCenter* center_ = nullptr;
        ObserverToken token_ = 0;
    };

    NotificationCenter() = default;
    NotificationCenter(const NotificationCenter&) = delete;
    NotificationCenter& operator=(const NotificationCenter&) = delete;

    static NotificationCenter& defaultCenter();

    // An empty name observes every notification.
    ObserverToken addObserver(std::string name, Observer observer);
    // Unknown or already removed tokens are ignored. An observer removed
    // during a post is not called for the rest of it.
    void removeObserver(ObserverToken token);

    void post(const Notification& notification);
    void post(std::string name, std::any object = {});

  private:
    struct Entry;
    std::mutex mutex_;
    std::vector<std::shared_ptr<Entry>> entries_;
    ObserverToken lastToken_ = 0;
};

}  // namespace zelvana::platform
