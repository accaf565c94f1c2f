#include "platform/foundation/DistributedNotificationCenter.hpp"

#include <poll.h>
#include <signal.h>
#include <sys/eventfd.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <mutex>
#include <system_error>
#include <thread>
#include <vector>

#include "platform/core/Weak.hpp"
#include "platform/dispatch/Queue.hpp"
#include "platform/foundation/NotificationDatagram.hpp"
#include "platform/foundation/SystemFolders.hpp"

namespace zelvana::platform {

namespace fs = std::filesystem;

namespace {

// Generous for a name and a bundle identifier, and below every datagram limit.
constexpr std::size_t kLargestMessage = 60 * 1024;
// A receiver whose queue stays full this long loses the post.
constexpr int kSendTimeoutMilliseconds = 500;

std::optional<fs::path> notificationsFolder() {
    auto runtime = SystemFolders::runtime();
    if (!runtime) return std::nullopt;
    return *runtime / "notifications";
}

bool fillAddress(const fs::path& path, sockaddr_un& address) {
    address = {};
    address.sun_family = AF_UNIX;
    const std::string text = path.string();
    if (text.size() >= sizeof address.sun_path) return false;
    std::memcpy(address.sun_path, text.c_str(), text.size() + 1);
    return true;
}

// "<pid>.sock" or "<pid>-<instance>.sock"
std::optional<pid_t> ownerOf(const fs::path& socketFile) {
    if (socketFile.extension() != ".sock") return std::nullopt;
    const std::string stem = socketFile.stem().string();
    pid_t pid = 0;
    const auto [end, error] = std::from_chars(stem.data(), stem.data() + stem.size(), pid);
    if (error != std::errc() || pid <= 0) return std::nullopt;
    if (end != stem.data() + stem.size() && *end != '-') return std::nullopt;
    return pid;
}

bool processExists(pid_t pid) {
    return ::kill(pid, 0) == 0 || errno == EPERM;
}

// Sends to one socket file; removes it when its process or socket is gone.
void sendTo(int sender, const fs::path& socketFile, const std::string& message) {
    const auto owner = ownerOf(socketFile);
    if (!owner) return;
    std::error_code ignored;
    if (!processExists(*owner)) {
        fs::remove(socketFile, ignored);
        return;
    }
    sockaddr_un address;
    if (!fillAddress(socketFile, address)) return;
    const auto sent = ::sendto(sender, message.data(), message.size(), MSG_NOSIGNAL,
                               reinterpret_cast<const sockaddr*>(&address), sizeof address);
    if (sent < 0 && errno == ECONNREFUSED) fs::remove(socketFile, ignored);
}

int openSender() {
    const int sender = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
    if (sender < 0) return -1;
    timeval timeout{0, kSendTimeoutMilliseconds * 1000};
    ::setsockopt(sender, SOL_SOCKET, SO_SNDTIMEO, &timeout, sizeof timeout);
    return sender;
}

}  // namespace

struct DistributedNotificationCenter::State {
    std::string suffix;
    ConcurrentSubscriberList<const Notification&> observers;
    std::mutex mutex;
    std::optional<fs::path> path;
    pid_t boundBy = 0;
    int socket = -1;
    int wake = -1;
    std::thread receiver;
    // Taken by the receiver thread, used on the main queue.
    WeakFactory<State> weak{this};

    ~State() { stop(); }

    // Under `mutex`.
    bool ensureBound() {
        if (socket >= 0) return true;
        const auto folder = notificationsFolder();
        if (!folder) return false;
        std::error_code ignored;
        fs::create_directories(*folder, ignored);
        const fs::path file = *folder / (std::to_string(::getpid()) + suffix + ".sock");
        sockaddr_un address;
        if (!fillAddress(file, address)) return false;
        const int fd = ::socket(AF_UNIX, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        if (fd < 0) return false;
        ::unlink(file.c_str());  // left by an earlier process with our pid
        if (::bind(fd, reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
            ::close(fd);
            return false;
        }
        // Without a wake-up descriptor the receiver could never be stopped.
        wake = ::eventfd(0, EFD_CLOEXEC);
        if (wake < 0) {
            ::close(fd);
            ::unlink(file.c_str());
            return false;
        }
        socket = fd;
        path = file;
        boundBy = ::getpid();
        receiver = std::thread([this] { receive(); });
        return true;
    }

    void receive() {
        std::string buffer(kLargestMessage + 1, '\0');
        for (;;) {
            pollfd watched[2] = {{socket, POLLIN, 0}, {wake, POLLIN, 0}};
            if (::poll(watched, 2, -1) < 0) {
                if (errno == EINTR) continue;
                return;
            }
            if (watched[1].revents != 0) return;
            const auto count = ::recv(socket, buffer.data(), buffer.size(), MSG_DONTWAIT);
            if (count <= 0 || static_cast<std::size_t>(count) > kLargestMessage) continue;
            auto notification =
                NotificationDatagram::decode(buffer.substr(0, static_cast<std::size_t>(count)));
            if (!notification) continue;
            mainQueue().async([self = weak.ref(), note = std::move(*notification)] {
                if (State* state = self.get()) state->observers.emit(note);
            });
        }
    }

    void removeSocketFile() const {
        if (path && boundBy == ::getpid()) ::unlink(path->c_str());
    }

    void stop() {
        if (socket < 0) return;
        const std::uint64_t one = 1;
        if (::write(wake, &one, sizeof one) < 0) std::perror("zelvana: waking the receiver");
        if (receiver.joinable()) receiver.join();
        removeSocketFile();
        ::close(socket);
        ::close(wake);
        socket = wake = -1;
    }
};

DistributedNotificationCenter& DistributedNotificationCenter::defaultCenter() {
    static auto* center = new DistributedNotificationCenter(std::string(), SocketAtExit::removed);
    return *center;
}

DistributedNotificationCenter::DistributedNotificationCenter(const std::string& instanceName)
    : DistributedNotificationCenter("-" + instanceName, SocketAtExit::kept) {}

DistributedNotificationCenter::DistributedNotificationCenter(std::string suffix,
                                                             SocketAtExit socketAtExit)
    : state_(std::make_unique<State>()) {
    state_->suffix = std::move(suffix);
    if (socketAtExit == SocketAtExit::kept) return;
    // The default centre outlives every destructor, so its socket goes at
    // exit; a forked child that never bound it leaves it alone.
    static State* defaultState = state_.get();
    std::atexit([] { defaultState->removeSocketFile(); });
}

DistributedNotificationCenter::~DistributedNotificationCenter() {
    state_->observers.clear();
    std::lock_guard lock(state_->mutex);
    state_->stop();
}

namespace {

bool matches(const std::string& name, const std::optional<std::string>& object,
             const Notification& notification) {
    if (!name.empty() && name != notification.name) return false;
    if (!object) return true;
    const auto* posted = std::any_cast<std::string>(&notification.object);
    return posted && *posted == *object;
}

}  // namespace

Subscription DistributedNotificationCenter::addObserver(std::string name,
                                                        std::optional<std::string> object,
                                                        Observer observer) {
    {
        std::lock_guard lock(state_->mutex);
        if (!state_->ensureBound()) {
            std::fprintf(stderr, "zelvana: cannot receive distributed notifications\n");
            return {};
        }
    }
    return state_->observers.add(
        [name = std::move(name), object = std::move(object),
         observer = std::move(observer)](const Notification& notification) {
            if (matches(name, object, notification)) {
                callNotificationObserver(observer, notification);
            }
        });
}

void DistributedNotificationCenter::postNotificationName(const std::string& name,
                                                         const std::optional<std::string>& object) {
    const std::string message = NotificationDatagram::encode(name, object);
    if (message.size() > kLargestMessage) {
        std::fprintf(stderr, "zelvana: distributed notification \"%s\" is too large\n",
                     name.c_str());
        return;
    }
    const auto folder = notificationsFolder();
    if (!folder) return;
    const int sender = openSender();
    if (sender < 0) return;
    std::error_code error;
    std::vector<fs::path> sockets;
    for (const auto& item : fs::directory_iterator(*folder, error)) sockets.push_back(item.path());
    for (const auto& socketFile : sockets) sendTo(sender, socketFile, message);
    ::close(sender);
}

std::optional<fs::path> DistributedNotificationCenter::socketPath() const {
    std::lock_guard lock(state_->mutex);
    return state_->path;
}

}  // namespace zelvana::platform
