#include <unistd.h>

#include <mutex>
#include <utility>

#include "platform/appkit/Application.hpp"
#include "platform/appkit/RunningApplication.hpp"
#include "platform/appkit/Workspace.hpp"

namespace zelvana::platform {

namespace {

std::mutex activationMutex;

RunningApplication::SimulatedActivation& simulatedActivation() {
    static auto* activation = new RunningApplication::SimulatedActivation();
    return *activation;
}

RunningApplication::SimulatedActivation currentActivation() {
    std::lock_guard lock(activationMutex);
    return simulatedActivation();
}

}  // namespace

RunningApplication::SimulatedActivation RunningApplication::setSimulatedActivation(
    SimulatedActivation activation) {
    std::lock_guard lock(activationMutex);
    return std::exchange(simulatedActivation(), std::move(activation));
}

std::vector<RunningApplication> RunningApplication::simulatedApplications() {
    std::vector<RunningApplication> applications;
    const auto activation = currentActivation();
    if (!activation.processes) return applications;
    for (int pid : activation.processes()) {
        if (auto application = withProcessIdentifier(pid)) applications.push_back(*application);
    }
    return applications;
}

bool RunningApplication::isActive() const {
    if (processIdentifier_ == ::getpid()) return Application::shared().isActive();
    if (!simulated_) return false;
    const auto activation = currentActivation();
    return activation.activeProcess && activation.activeProcess() == processIdentifier_;
}

bool RunningApplication::activate(ActivationOptions options) const {
    if (processIdentifier_ == ::getpid()) {
        Application::shared().activate(
            options.contains(ActivationOption::activateIgnoringOtherApps));
        return true;
    }
    if (!simulated_) return false;
    const auto activation = currentActivation();
    return activation.activate && activation.activate(processIdentifier_);
}

std::optional<RunningApplication> Workspace::frontmostApplication() const {
    if (Application::shared().isActive()) {
        return RunningApplication::withProcessIdentifier(::getpid());
    }
    const auto activation = currentActivation();
    const auto pid = activation.activeProcess ? activation.activeProcess() : std::nullopt;
    return pid ? RunningApplication::withProcessIdentifier(*pid) : std::nullopt;
}

}  // namespace zelvana::platform
