#pragma once

#include <memory>
#include <type_traits>

#include "platform/core/AssociatedObjects.hpp"

namespace zelvana::keyboardshortcuts {

using AssociationPolicy = platform::AssociationPolicy;

// A typed slot that attaches a value to any platform object. The slot's own
// address is the key, so each instance is one distinct slot on every object;
// the value goes when the object goes. Safe from any thread.
template <class T>
class ObjectAssociation {
public:
    explicit ObjectAssociation(AssociationPolicy policy = AssociationPolicy::retainNonatomic)
        : policy_(policy) {}
    ObjectAssociation(const ObjectAssociation&) = delete;
    ObjectAssociation& operator=(const ObjectAssociation&) = delete;

    AssociationPolicy policy() const { return policy_; }

    // The value last stored in this slot for `object`, or null.
    std::shared_ptr<T> get(const platform::AssociatedObjects& object) const {
        return std::static_pointer_cast<T>(object.associatedObject(this));
    }
    // Stores `value` as the policy says; null removes it. A value that cannot
    // be copied is shared under a copy policy.
    void set(platform::AssociatedObjects& object, std::shared_ptr<T> value) const {
        if constexpr (std::is_copy_constructible_v<T>) {
            if (value && isCopy()) value = std::make_shared<T>(*value);
        }
        object.setAssociatedObject(this, std::move(value), policy_);
    }

private:
    bool isCopy() const {
        return policy_ == AssociationPolicy::copy || policy_ == AssociationPolicy::copyNonatomic;
    }

    AssociationPolicy policy_;
};

}  // namespace zelvana::keyboardshortcuts
