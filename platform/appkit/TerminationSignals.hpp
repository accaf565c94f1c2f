#pragma once

#include <functional>
#include <thread>

namespace zelvana::platform {

// SIGTERM and SIGINT taken as the system's request that the application
// quit, as it asks a running application when the machine shuts down: the
// first hands `quit` to the main queue, so the application quits as its own
// Quit item would; one more while that quit runs ends the process at once,
// by that signal. One at a time per process; its end gives both signals
// back their former handling.
class TerminationSignals {
public:
    explicit TerminationSignals(std::function<void()> quit);
    ~TerminationSignals();
    TerminationSignals(const TerminationSignals&) = delete;
    TerminationSignals& operator=(const TerminationSignals&) = delete;

private:
    void listen();

    std::function<void()> quit_;
    std::thread listener_;
};

}  // namespace zelvana::platform
