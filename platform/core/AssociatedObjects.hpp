#pragma once

#include <cstdint>
#include <map>
#include <memory>
#include <mutex>

namespace zelvana::platform {

// How an object holds a value attached to it, with the runtime's values:
// assign holds nothing (the value reads back while someone else keeps it),
// retain shares the value, copy keeps a copy of its own. The non-atomic and
// atomic forms behave alike here: every access is locked.
enum class AssociationPolicy : std::uintptr_t {
    assign = 0,
    retainNonatomic = 1,
    copyNonatomic = 3,
    retain = 0x301,
    copy = 0x303,
};

// Values that other code attaches to an object under keys of its own
// (objc_setAssociatedObject): held as each one's policy says and released
// with the object. Objects that can carry them derive from this. Safe from
// any thread.
class AssociatedObjects {
public:
    // The value last set under `key`, or null (never set, removed, or an
    // assigned value that nobody keeps any more).
    std::shared_ptr<void> associatedObject(const void* key) const;
    // Null removes the value. A copy policy expects `value` to be the copy.
    void setAssociatedObject(const void* key, std::shared_ptr<void> value,
                             AssociationPolicy policy);

protected:
    AssociatedObjects() = default;
    // Releases the values after the object is gone from the map, so a value
    // whose destruction reaches back into the object finds it empty.
    ~AssociatedObjects();
    AssociatedObjects(const AssociatedObjects&) = delete;
    AssociatedObjects& operator=(const AssociatedObjects&) = delete;

private:
    struct Held {
        std::shared_ptr<void> strong;
        std::weak_ptr<void> weak;
    };
    mutable std::mutex mutex_;
    std::map<const void*, Held> values_;
};

}  // namespace zelvana::platform
