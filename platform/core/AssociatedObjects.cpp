#include "platform/core/AssociatedObjects.hpp"

namespace zelvana::platform {

AssociatedObjects::~AssociatedObjects() {
    std::map<const void*, Held> released;
    {
        std::lock_guard lock(mutex_);
        released.swap(values_);
    }
}

std::shared_ptr<void> AssociatedObjects::associatedObject(const void* key) const {
    std::lock_guard lock(mutex_);
    const auto found = values_.find(key);
    if (found == values_.end()) return nullptr;
    return found->second.strong ? found->second.strong : found->second.weak.lock();
}

void AssociatedObjects::setAssociatedObject(const void* key, std::shared_ptr<void> value,
                                            AssociationPolicy policy) {
    Held replaced;
    std::lock_guard lock(mutex_);
    auto& held = values_[key];
    replaced = std::move(held);
    if (!value) {
        values_.erase(key);
    } else if (policy == AssociationPolicy::assign) {
        held = Held{nullptr, value};
    } else {
        held = Held{std::move(value), {}};
    }
    // `replaced` goes after the lock is released: its destruction may set values again.
}

}  // namespace zelvana::platform
