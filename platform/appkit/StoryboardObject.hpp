#pragma once

#include <memory>
#include <string>

namespace zelvana::platform {

// Common base of everything a storyboard can make: windows, views and
// controllers. Outlets and actions are connected by name, so a subclass only
// names the ones it has.
class StoryboardObject : public std::enable_shared_from_this<StoryboardObject> {
public:
    StoryboardObject() = default;
    virtual ~StoryboardObject() = default;
    StoryboardObject(const StoryboardObject&) = delete;
    StoryboardObject& operator=(const StoryboardObject&) = delete;

    // Connects the outlet `name` to `object`; false when the class has no such
    // outlet or the object is of the wrong kind.
    virtual bool setOutlet(const std::string& /*name*/,
                           const std::shared_ptr<StoryboardObject>& /*object*/) {
        return false;
    }
    // Runs the action called `action` (such as "clearClicked:"); false when the
    // class does not handle it.
    virtual bool performAction(const std::string& /*action*/, const void* /*sender*/) {
        return false;
    }
};

}  // namespace zelvana::platform
