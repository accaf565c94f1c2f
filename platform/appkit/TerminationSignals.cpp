#include "platform/appkit/TerminationSignals.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <thread>
#include <utility>

#include "platform/dispatch/Queue.hpp"

namespace zelvana::platform {

namespace {

constexpr int kSignals[] = {SIGTERM, SIGINT};

// What the handler may touch: a handler may only write to a pipe and use
// lock-free atomics.
static_assert(std::atomic<int>::is_always_lock_free);
std::atomic<int> received{0};
// The pipe's write end, -1 once it is closing. A handler counts itself in
// `writing` before it reads the end, so the descriptor is closed, and its
// number free for reuse, only once no handler can still write to it.
std::atomic<int> wakeWriteEnd{-1};
std::atomic<int> writing{0};
int wakeReadEnd = -1;
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
    writing.fetch_add(1);
    if (const int fd = wakeWriteEnd.load(); fd >= 0) {
        [[maybe_unused]] const auto written = ::write(fd, &kQuit, 1);
    }
    writing.fetch_sub(1);
    errno = saved;
}

// The write end, once no handler can write to it any more.
void closeWriteEnd() {
    const int fd = wakeWriteEnd.exchange(-1);
    while (writing.load() > 0) std::this_thread::yield();
    ::close(fd);
}

}  // namespace

TerminationSignals::TerminationSignals(std::function<void()> quit) : quit_(std::move(quit)) {
    int ends[2];
    if (::pipe2(ends, O_CLOEXEC) != 0) std::abort();
    wakeReadEnd = ends[0];
    wakeWriteEnd = ends[1];
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
    [[maybe_unused]] const auto written = ::write(wakeWriteEnd.load(), &kStop, 1);
    listener_.join();
    // The write end first: a late handler writing to a pipe without a reader
    // would raise SIGPIPE.
    closeWriteEnd();
    ::close(wakeReadEnd);
}

void TerminationSignals::listen() {
    for (char byte = 0;;) {
        const auto count = ::read(wakeReadEnd, &byte, 1);
        if (count < 0 && errno == EINTR) continue;
        if (count <= 0 || byte == kStop) return;
        mainQueue().async(quit_);
    }
}

}  // namespace zelvana::platform
