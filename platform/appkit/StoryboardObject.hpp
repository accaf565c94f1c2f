#pragma once

#include <memory>
#include <string>

#include "platform/appkit/ActionTarget.hpp"
#include "platform/core/AssociatedObjects.hpp"
#include "platform/core/Weak.hpp"

namespace zelvana::platform {

class StoryboardActions;

// Common base of everything a storyboard can make: windows, views and
// controllers. Outlets and actions are connected by name, so a subclass only
// names the ones it has. Controls reach it as an action target by WeakRef.
// Other code may attach values to it.
class StoryboardObject : public ActionTarget,
                         public AssociatedObjects,
                         public std::enable_shared_from_this<StoryboardObject> {
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
    // Names what this controller does for the actions its scene's controls
    // send; asked once, when a storyboard makes the scene.
    virtual void connectActions(StoryboardActions& /*actions*/) {}
    // Called on each object a storyboard made, once all of the scene's
    // objects are made and connected.
    virtual void awakeFromNib() {}
    // Runs the action called `action` (such as "clearClicked:"); false when the
    // class does not handle it.
    bool performAction(const std::string& /*action*/, const ActionSender* /*sender*/) override {
        return false;
    }
    // What a button or slider holds to send its actions here. It goes empty
    // once this object is destroyed; no subclass sends itself actions while
    // it is being torn down, so the base may own the factory.
    WeakRef<ActionTarget> actionTarget() const { return targetFactory_.ref(); }

private:
    WeakFactory<ActionTarget> targetFactory_{this};
};

}  // namespace zelvana::platform
