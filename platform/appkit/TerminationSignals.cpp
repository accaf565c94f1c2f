#include "platform/appkit/TerminationSignals.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <utility>

#include "platform/dispatch/Queue.hpp"

namespace zelvana::platform {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT};

// What the handler may touch: a handler may only write to a pipe and use
// lock-free atomics.
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<int> received{0};
int wakeFds[2] = {-1, -1};
struct sigaction formerActions[std::size(kSignals)];

constexpr char kQuit = 'q';
constexpr char kStop = 's';

void onSignal(int signal) {
    if (received.fetch_add(1) > 0) {
        // Delivered as soon as this handler returns, the signal now ends the process.
        std::signal(signal, SIG_DFL);
        std::raise(signal);
        return;
    }
    const int saved = errno;
    [[maybe_unused]] const auto written = ::write(wakeFds[1], &kQuit, 1);
    errno = saved;
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> quit) : quit_(std::move(quit)) {
    if (::pipe2(wakeFds, O_CLOEXEC) != 0) std::abort();
    received = 0;
    listener_ = std::thread([this] { listen(); });
    struct sigaction action {};
    action.sa_handler = onSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        ::sigaction(kSignals[i], &action, &formerActions[i]);
    }
}

TerminationSignals::~TerminationSignals() {
    for (std::size_t i = 0; i < std::size(kSignals); ++i) {
        ::sigaction(kSignals[i], &formerActions[i], nullptr);
    }
    [[maybe_unused]] const auto written = ::write(wakeFds[1], &kStop, 1);
    listener_.join();
    ::close(wakeFds[0]);
    ::close(wakeFds[1]);
}

void TerminationSignals::listen() {
    for (char byte = 0;;) {
        const auto count = ::read(wakeFds[0], &byte, 1);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0 || byte == kStop) return;
        mainQueue().async(quit_);
    }
}

}  // namespace zelvana::platform
