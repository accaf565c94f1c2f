#include "platform/foundation/NotificationCenter.hpp"

#include <algorithm>
#include <atomic>
#include <cstdio>
#include <exception>
#include <utility>

namespace zelvana::platform {

struct NotificationCenter::Entry {
    ObserverToken token;
    std::string name;
    Observer observer;
    // Cleared on removal, so a post already under way skips the entry.
    std::atomic<bool> active{true};
};

NotificationCenter::ScopedObserver::ScopedObserver(ScopedObserver&& other) noexcept
    : center_(std::exchange(other.center_, nullptr)), token_(std::exchange(other.token_, 0)) {}

NotificationCenter::ScopedObserver& NotificationCenter::ScopedObserver::operator=(
    ScopedObserver&& other) noexcept {
    if (this != &other) {
        reset();
        center_ = std::exchange(other.center_, nullptr);
        token_ = std::exchange(other.token_, 0);
    }
    return *this;
}

void NotificationCenter::ScopedObserver::reset() {
    if (center_ != nullptr) center_->removeObserver(token_);
    center_ = nullptr;
    token_ = 0;
}

NotificationCenter& NotificationCenter::defaultCenter() {
    // Never destroyed, so observers removed during static teardown stay safe.
    static auto* center = new NotificationCenter();
    return *center;
}

NotificationCenter::ObserverToken NotificationCenter::addObserver(std::string name,
                                                                  Observer observer) {
    std::lock_guard lock(mutex_);
    auto entry = std::make_shared<Entry>();
    entry->token = ++lastToken_;
    entry->name = std::move(name);
    entry->observer = std::move(observer);
    entries_.push_back(entry);
    return entry->token;
}

void NotificationCenter::removeObserver(ObserverToken token) {
    std::lock_guard lock(mutex_);
    auto found = std::find_if(entries_.begin(), entries_.end(),
                              [token](const auto& entry) { return entry->token == token; });
    if (found == entries_.end()) return;
    (*found)->active = false;
    entries_.erase(found);
}

namespace {

// One failing observer must not keep the others from hearing the news.
void callObserver(const NotificationCenter::Observer& observer, const Notification& notification) {
    try {
        observer(notification);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "zelvana: observer of \"%s\" threw: %s\n", notification.name.c_str(),
                     error.what());
    } catch (...) {
        std::fprintf(stderr, "zelvana: observer of \"%s\" threw\n", notification.name.c_str());
    }
}

}  // namespace

void NotificationCenter::post(const Notification& notification) {
    std::vector<std::shared_ptr<Entry>> snapshot;
    {
        std::lock_guard lock(mutex_);
        snapshot = entries_;
    }
    for (const auto& entry : snapshot) {
        if (!entry->name.empty() && entry->name != notification.name) continue;
        if (entry->active) callObserver(entry->observer, notification);
    }
}

void NotificationCenter::post(std::string name, std::any object) {
    post(Notification{std::move(name), std::move(object), {}});
}

}  // namespace zelvana::platform
