#include "platform/declarative/State.hpp"

namespace zelvana::platform {

namespace {

thread_local StateTracking* tCurrentTracking = nullptr;

}  // namespace

void StateBase::noteRead() const {
    if (tCurrentTracking) tCurrentTracking->noteRead(*this);
}

StateTracking::StateTracking(std::function<void()> onChange)
    : onChange_(std::move(onChange)), outer_(tCurrentTracking) {
    tCurrentTracking = this;
}

StateTracking::~StateTracking() {
    tCurrentTracking = outer_;
}

void StateTracking::noteRead(const StateBase& state) {
    if (!seen_.insert(state.changes_.get()).second) return;
    subscriptions_.push_back(state.changes_->add(onChange_));
}

}  // namespace zelvana::platform
