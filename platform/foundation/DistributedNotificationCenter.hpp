#pragma once

#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "platform/foundation/NotificationCenter.hpp"

namespace zelvana::platform {

// Notifications between processes. A process that observes owns one Unix
// datagram socket, <runtime>/notifications/<pid>.sock, bound when its first
// observer is added; a post sends the name and object to every live socket
// in that folder, its own included, and removes the sockets of processes that
// are gone. A receiver thread hands each arrival to the main queue, where the
// observers whose name and object match are called. A post that finds no
// socket bound is lost, as is one sent while nobody matches.
//
// The object is text (a bundle identifier); a notification carries it in
// Notification::object as std::string, or leaves it empty.
class DistributedNotificationCenter {
public:
    using Observer = NotificationCenter::Observer;

    // The process's centre; never destroyed. Its socket is removed at exit.
    static DistributedNotificationCenter& defaultCenter();

    // A centre of its own, with the socket <pid>-<instanceName>.sock, so a
    // test can stand two centres in for two processes. Destroy it on the main
    // thread.
    explicit DistributedNotificationCenter(const std::string& instanceName);
    ~DistributedNotificationCenter();
    DistributedNotificationCenter(const DistributedNotificationCenter&) = delete;
    DistributedNotificationCenter& operator=(const DistributedNotificationCenter&) = delete;

    // An empty name matches every name, an absent object every object. The
    // observer runs on the main queue. Returns an inactive token when the
    // socket cannot be bound (no runtime folder, path too long): nothing would
    // ever arrive. Once the token is gone (on the main thread), the observer is
    // not called again, not even for arrivals already queued.
    [[nodiscard]] Subscription addObserver(std::string name, std::optional<std::string> object,
                                           Observer observer);

    // Sends at once to every observing process; safe from any thread and
    // from a process that observes nothing.
    void postNotificationName(const std::string& name,
                              const std::optional<std::string>& object = std::nullopt);

    // The socket this centre receives on, once bound.
    std::optional<std::filesystem::path> socketPath() const;

private:
    enum class SocketAtExit { kept, removed };
    DistributedNotificationCenter(std::string suffix, SocketAtExit socketAtExit);
    struct State;
    std::unique_ptr<State> state_;
};

}  // namespace zelvana::platform
